#include "app/procin/Procin.h"

#include "app/dictionary/Dictionary.h"
#include "app/ordertext/ImportOrderFromText.h"
#include "app/orderworkbook/ImportOrderFromExcel.h"
#include "app/procin/OrderFileKind.h"
#include "office/ExcelAutomation.h"
#include "platform/automation/OleControl.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;
using platform::text::w;

namespace {
constexpr int kMessageText = 1;
constexpr int kExcelControl = 2;
constexpr int kCloseButton = 3;
} // namespace

Procin::Procin(std::string_view orderFileName)
    : WindowController("quelbarto$quelb015", "P1$WINDOW"), m_orderFileName(orderFileName),
      m_excel(std::make_unique<office::ExcelAutomation>())
{
}

Procin::~Procin() = default;

int Procin::init()
{
    GlobalErrors().pushProcedure("procin");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(kMessageText);
    m_filesOpened = RelateKORZAK->open() == 0;
    window().open();
    return Level::Benign;
}

int Procin::kill()
{
    const int level = WindowController::kill();
    if (m_filesOpened)
        RelateKORZAK->close();
    m_filesOpened = false;
    GlobalErrors().popProcedure("procin");
    return level;
}

int Procin::takeAccepted()
{
    if (accepted() == kCloseButton)
        window().post(Event::CloseWindow);
    return WindowController::takeAccepted();
}

int Procin::takeWindowEvent()
{
    if (event() == Event::Timer && !m_imported) {
        m_imported = true; // one import per call, even if a tick was already queued
        importOrder();
        window().setProperty(0, Property::Timer, 0LL);
        window().post(Event::Accepted, kCloseButton);
    }
    return WindowController::takeWindowEvent();
}

void Procin::importOrder()
{
    if (!m_filesOpened) {
        message(w("Не удалось открыть корзину заказа. Заказ не изменён."), w("Ошибка"),
                MessageIcon::Hand);
        return;
    }
    // Excel is started hidden for every file, created only when not running yet.
    m_excel->Init(&window(), kExcelControl, 1, 0, 0);
    if (orderFileKindOf(m_orderFileName) == OrderFileKind::Workbook) {
        ImportOrderFromExcel(*m_excel, m_orderFileName);
        return;
    }
    ImportOrderFromText(m_orderFileName);
}

void procin(std::string_view orderFileName)
{
    platform::automation::OleControl::registerKind();
    Procin procedure(orderFileName);
    procedure.run();
}

} // namespace app
