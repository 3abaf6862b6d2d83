#include "app/proczap/Proczap.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr int YesButton = 2;
constexpr int NoButton = 3;

std::string question(uint8_t selector)
{
    switch (selector) {
    case ConfirmQuestion::PriceCheck:
        return w("Вы действительно  хотите проверить соответствие цен в заказе ценам в "
                 "прайс-листе?");
    case ConfirmQuestion::NewOrder:
        return w("При открытии Нового заказа все текущие позиции в заказе будут удалены. "
                 "Продолжить?");
    case ConfirmQuestion::OpenOrder:
        return w("При Открытии заказа все текущие позиции в заказе будут удалены. Продолжить?");
    default:
        return {};
    }
}

} // namespace

Proczap::Proczap(uint8_t selector)
    : WindowController("quelbarto$quelb013", "P1$WINDOW")
    , m_selector(selector)
{
    window().bind("STROKA", m_question);
}

int Proczap::init()
{
    GlobalErrors().pushProcedure("proczap");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(window().nextField(0));
    window().open();
    m_question = question(m_selector);
    window().display();
    return Level::Benign;
}

int Proczap::kill()
{
    const int level = WindowController::kill();
    GlobalErrors().popProcedure("proczap");
    return level;
}

int Proczap::takeAccepted()
{
    if (accepted() == YesButton) {
        m_result = Yes;
        window().post(Event::CloseWindow);
    } else if (accepted() == NoButton) {
        m_result = 0;
        window().post(Event::CloseWindow);
    }
    return WindowController::takeAccepted();
}

uint8_t proczap(uint8_t selector)
{
    Proczap dialog(selector);
    dialog.run();
    return dialog.result();
}

} // namespace app
