#include "app/proczak/QuantityDialog.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;

QuantityDialog::QuantityDialog(std::string_view module, std::string procedureName,
                               std::string params)
    : WindowController(module, "P1$WINDOW")
    , m_procedureName(std::move(procedureName))
    , m_params(std::move(params))
{
    window().bind("KOD", m_code);
    window().bind("OBOZN", m_designation);
    window().bind("NAIM", m_name);
    window().bind("UPAK", m_packQuantity);
    window().bind("KOL", m_quantity);
}

int QuantityDialog::init()
{
    GlobalErrors().pushProcedure(m_procedureName);
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(QuantityEntry);
    window().open();
    readParams(m_params);
    window().display();
    return Level::Benign;
}

int QuantityDialog::kill()
{
    const int level = WindowController::kill();
    GlobalErrors().popProcedure(m_procedureName);
    return level;
}

int QuantityDialog::takeAccepted()
{
    switch (accepted()) {
    case OrderButton:
        m_result = m_quantity;
        window().post(Event::CloseWindow);
        break;
    case CancelButton:
        m_result = 0;
        window().post(Event::CloseWindow);
        break;
    default:
        break;
    }
    return WindowController::takeAccepted();
}

int QuantityDialog::takeFieldEvent()
{
    if (field() == QuantityEntry && event() == Event::AlertKey) {
        window().update(QuantityEntry);
        if (keyCode() == Key::Enter)
            window().post(Event::Accepted, OrderButton);
        else if (keyCode() == Key::Esc)
            window().post(Event::Accepted, CancelButton);
    }
    return WindowController::takeFieldEvent();
}

} // namespace app
