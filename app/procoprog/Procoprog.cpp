#include "app/procoprog/Procoprog.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;

Procoprog::Procoprog() : WindowController("quelbarto$quelb010", "P1$WINDOW")
{
}

int Procoprog::init()
{
    GlobalErrors().pushProcedure("procoprog");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(window().nextField(0));
    window().open();
    return Level::Benign;
}

int Procoprog::kill()
{
    const int level = WindowController::kill();
    GlobalErrors().popProcedure("procoprog");
    return level;
}

int Procoprog::takeAccepted()
{
    const int control = accepted();
    if (control != 0 && control == window().number("?BUTTON1"))
        window().post(Event::CloseWindow);
    return WindowController::takeAccepted();
}

std::unique_ptr<WindowController> procoprog()
{
    return std::make_unique<Procoprog>();
}

} // namespace app
