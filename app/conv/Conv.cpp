#include "app/conv/Conv.h"

#include "app/conv/Cnvpriosn.h"
#include "app/conv/Cnvrekv.h"
#include "app/conv/ConversionMessage.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;
using platform::text::w;

Conv::Conv() : WindowController("quelbarto$quelb018", "P1$WINDOW")
{
}

int Conv::init()
{
    GlobalErrors().pushProcedure("conv");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().open();
    return Level::Benign;
}

int Conv::kill()
{
    const int level = WindowController::kill();
    GlobalErrors().popProcedure("conv");
    return level;
}

int Conv::takeAccepted()
{
    const int control = accepted();
    if (control != 0 && control == window().number("?BUTTON1")) {
        // The requisites are converted whatever became of the price list.
        const ConversionOutcome price = cnvpriosn();
        const ConversionOutcome requisites = cnvrekv();
        message(ConversionMessage(price, requisites), w("Сообщение"));
        window().post(Event::CloseWindow);
    }
    return WindowController::takeAccepted();
}

std::unique_ptr<WindowController> conv()
{
    return std::make_unique<Conv>();
}

} // namespace app
