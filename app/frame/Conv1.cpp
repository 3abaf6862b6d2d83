#include "app/frame/Conv1.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/ui/Event.h"

namespace app {

using namespace platform::ui;

Conv1::Conv1() : WindowController("quelbarto$quelb021", "P1$WINDOW")
{
}

int Conv1::init()
{
    GlobalErrors().pushProcedure("conv1");
    return WindowController::init();
}

int Conv1::kill()
{
    const int level = WindowController::kill();
    GlobalErrors().popProcedure("conv1");
    return level;
}

int Conv1::takeAccepted()
{
    const int control = accepted();
    if (control != 0 && control == window().number("?BUTTON1")) {
        m_result = 1;
        window().post(Event::CloseWindow);
    } else if (control != 0 && control == window().number("?BUTTON2")) {
        m_result = 0;
        window().post(Event::CloseWindow);
    }
    return WindowController::takeAccepted();
}

uint8_t conv1()
{
    Conv1 dialog;
    dialog.run();
    return dialog.result();
}

} // namespace app
