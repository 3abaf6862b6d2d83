#include "app/dictionary/Dictionary.h"
#include "app/orderworkbook/ExportOrderToExcel.h"
#include "app/orderworkbook/ImportOrderFromExcel.h"
#include "app/procin/Procin.h"
#include "app/procvyg/Procvyg.h"
#include "office/ExcelAutomation.h"
#include "platform/automation/OleControl.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* SaveTitle = "Сохранение/Выгрузка заказа";
constexpr const char* OpenTitle = "Открытие заказа";

// The order workbook saved by the save window and read back by the order-open window, both
// through the built-in spreadsheet server.
class OrderWorkbook : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        platform::automation::OleControl::registerKind();
        WindowDefinition definition;
        definition.kind = "window";
        definition.label = "check";
        ControlDefinition ole;
        ole.number = 1;
        ole.kind = "ole";
        definition.controls.push_back(ole);
        m_window = std::make_unique<Window>(definition);
        m_excel.Init(m_window.get(), 1, 1, 0, 0);
    }
    void TearDown() override
    {
        app::RelateKORZAK->close();
        app::DictionaryKill();
    }

    static void addLine(int32_t code, const char* oboz, const char* name, const char* maker,
                        int16_t kol, double cena)
    {
        app::KORZAK().clearBuffer();
        app::K().KOD = code;
        app::K().OBOZ = w(oboz);
        app::K().NAIM = w(name);
        app::K().PROIZV = w(maker);
        app::K().KOL = kol;
        app::K().CENA = cena;
        app::K().SUMMA = cena * kol;
        ASSERT_EQ(app::KORZAK().add(), 0);
    }
    static void addSampleLines()
    {
        addLine(30, "N-30", "Фильтр масляный", "Ардо", 2, 12.5);
        addLine(10, "N-10", "Свеча", "Бриз", 4, 1.25);
        addLine(20, "N-20 с пробелом", "Колодки", "Вектор", 1, 1234.56);
    }
    static void emptyBasket() { ASSERT_EQ(app::KORZAK().empty(), 0); }

    // Every basket line in code order, all fields.
    static std::string basket()
    {
        std::string out;
        app::KORZAK().setKey(app::K_pokod);
        while (app::KORZAK().next() == 0) {
            const app::KorzakRecord& k = app::K();
            char money[64];
            std::snprintf(money, sizeof money, "%.2f/%.2f", k.CENA, k.SUMMA);
            out += std::to_string(k.KOD) + ";" + k.OBOZ.str() + ";" + k.NAIM.str() + ";" +
                   k.PROIZV.str() + ";" + std::to_string(k.KOL) + ";" + money + "\n";
        }
        return out;
    }

    static std::string run(TestDriver& driver, const std::function<void()>& procedure)
    {
        bool done = false;
        std::string failure;
        driver.start(
            [&](const std::string& result) {
                done = true;
                failure = result;
            },
            15000);
        procedure();
        QElapsedTimer waited;
        waited.start();
        while (!done && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done ? failure : "the driver did not finish";
    }

    // Saves the basket through the window's Excel format with the dialog answering NAME.
    std::string save(TestDriver& driver, const std::string& name, bool keepsOpen = false)
    {
        driver.waitOpen(SaveTitle)
            .press("?OPTION1:RADIO2")
            .answerFile(name)
            .press("?BUTTON1")
            .type("?KOMMENT", "Срочно")
            .answerMessage(Button::Ok)
            .press("?BUTTON2");
        if (keepsOpen) {
            // The save runs on a timer tick; give it time before cancelling.
            driver.call([] {
                QElapsedTimer pause;
                pause.start();
                while (pause.elapsed() < 300)
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            });
            driver.press("?BUTTON3");
        }
        driver.waitClose(SaveTitle);
        return run(driver, [] { app::procvyg(1, 7.25); });
    }
    std::string open(TestDriver& driver, const std::string& name)
    {
        driver.waitOpen(OpenTitle).waitClose(OpenTitle);
        return run(driver, [&] { app::procin(name); });
    }
    std::string cell(const std::string& file, const std::string& range)
    {
        m_excel.OpenWorkbook(file);
        std::string value = m_excel.GetRangeValue(range);
        m_excel.CloseActiveWindow(0);
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
        return value;
    }

    std::string path(const std::string& name) const { return m_folder.file(name).string(); }

    testsupport::TempWorkFolder m_folder;
    std::unique_ptr<Window> m_window;
    office::ExcelAutomation m_excel;
};

} // namespace

TEST_F(OrderWorkbook, SavedBasketReadsBackIntoAnEmptiedBasket)
{
    addSampleLines();
    const std::string lines = basket();
    TestDriver saving;
    EXPECT_EQ(save(saving, path("order")), "");
    ASSERT_EQ(saving.messages().size(), 1u);
    EXPECT_EQ(saving.messages()[0].text, w("Файл заказа сформирован."));
    EXPECT_EQ(saving.messages()[0].caption, w("Сообщение"));
    ASSERT_TRUE(std::filesystem::exists(m_folder.file("order.xls")));
    EXPECT_EQ(cell(path("order.xls"), "A1"), w("ЗАКАЗ"));
    EXPECT_EQ(cell(path("order.xls"), "A9"), w("Комментарий к заказу: Срочно"));
    EXPECT_EQ(cell(path("order.xls"), "A10"), w("Общий вес заказа (кг): 7.2500"));
    EXPECT_EQ(cell(path("order.xls"), "B11"), w("Обозначение"));
    EXPECT_EQ(cell(path("order.xls"), "A12"), "30") << "sort tab 1: the basket's own order";

    emptyBasket();
    TestDriver opening;
    EXPECT_EQ(open(opening, path("order.xls")), "");
    EXPECT_TRUE(opening.messages().empty());
    EXPECT_EQ(basket(), lines);
}

TEST_F(OrderWorkbook, OfficeOpenXmlWorkbookReadsBackToo)
{
    addSampleLines();
    const std::string lines = basket();
    app::REKV().clearBuffer();
    ASSERT_TRUE(app::writeOrderWorkbook(m_excel, path("order.xlsx") + "  ", "", 2, 0));
    const std::string start = testsupport::readFileBytes(m_folder.file("order.xlsx")).substr(0, 2);
    EXPECT_EQ(start, "PK") << "a zip package, not the binary workbook";
    emptyBasket();
    EXPECT_TRUE(app::ImportOrderFromExcel(m_excel, path("order.xlsx")));
    EXPECT_EQ(basket(), lines);
}

TEST_F(OrderWorkbook, EmptyBasketKeepsTheHeaderAndReadsBackEmpty)
{
    TestDriver saving;
    EXPECT_EQ(save(saving, path("empty.xls")), "");
    ASSERT_EQ(saving.messages().size(), 1u);
    EXPECT_EQ(saving.messages()[0].text, w("Файл заказа сформирован."));
    // No requisites record: every requisite is blank and its caption keeps its blank.
    m_excel.OpenWorkbook(path("empty.xls"));
    const std::string inn = m_excel.GetRangeValue("A4");
    m_excel.CloseActiveWindow(0);
    EXPECT_EQ(inn.substr(0, 5), w("ИНН: "));
    EXPECT_EQ(inn.find_first_not_of(' ', 5), std::string::npos) << inn;
    EXPECT_EQ(cell(path("empty.xls"), "G11"), w("Сумма"));
    EXPECT_EQ(cell(path("empty.xls"), "A12"), "");

    addLine(5, "OLD", "", "", 1, 1);
    TestDriver opening;
    EXPECT_EQ(open(opening, path("empty.xls")), "");
    EXPECT_EQ(basket(), "");
}

TEST_F(OrderWorkbook, ExistingFileIsReplacedWithoutAQuestion)
{
    testsupport::writeFileBytes(m_folder.file("order.xls"), "old contents");
    addSampleLines();
    TestDriver saving;
    EXPECT_EQ(save(saving, path("order.xls")), "");
    ASSERT_EQ(saving.messages().size(), 1u);
    EXPECT_EQ(saving.messages()[0].text, w("Файл заказа сформирован."));
    EXPECT_EQ(cell(path("order.xls"), "A1"), w("ЗАКАЗ"));
}

TEST_F(OrderWorkbook, UnwritableTargetIsReportedAndTheWindowStays)
{
    addSampleLines();
    TestDriver saving;
    EXPECT_EQ(save(saving, path("no-such-folder/order.xls"), true), "");
    ASSERT_EQ(saving.messages().size(), 1u);
    EXPECT_EQ(saving.messages()[0].caption, w("Ошибка"));
    EXPECT_EQ(saving.messages()[0].text,
              w("Не удалось записать файл заказа ") + path("no-such-folder/order.xls") + ".");
}

// A sheet made by hand: rows that are not item rows, blank A cells, a decimal comma.
TEST_F(OrderWorkbook, ReaderSkipsTextRowsStopsAtTheSeventhBlankAndTakesADecimalComma)
{
    m_excel.AddWorkbook();
    m_excel.SetRangeFormula("A1", w("ЗАКАЗ"));
    m_excel.SetRangeFormula("A3", "7.9");
    m_excel.SetRangeFormula("B3", "X-7");
    m_excel.SetRangeFormula("E3", "65537");
    m_excel.SetRangeFormula("F3", "12,5");
    m_excel.SetRangeFormula("G3", "25,75");
    m_excel.SetRangeFormula("A4", "12abc");
    // Blank A cells at 2 and 5..10: the seventh blank is row 10, so row 11 is not read.
    m_excel.SetRangeFormula("A11", "99");
    m_excel.SaveWorkbookAs(path("hand.xls"));
    m_excel.CloseActiveWindow(1);

    std::vector<app::KorzakRecord> lines;
    ASSERT_TRUE(app::readOrderWorkbook(m_excel, path("hand.xls"), lines));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].KOD, 7) << "truncated toward zero";
    EXPECT_EQ(lines[0].OBOZ.str(), "X-7");
    EXPECT_EQ(lines[0].KOL, 1) << "only the low 16 bits are kept";
    EXPECT_DOUBLE_EQ(lines[0].CENA, 12.5);
    EXPECT_DOUBLE_EQ(lines[0].SUMMA, 25.75);
    EXPECT_EQ(m_excel.GetProperty("Workbooks.Count").substr(0, 1), "0");
}

TEST_F(OrderWorkbook, SevenBlankCellsAboveTheItemsReadAsEmpty)
{
    m_excel.AddWorkbook();
    m_excel.SetRangeFormula("A8", "5");
    m_excel.SetRangeFormula("B8", "X");
    m_excel.SaveWorkbookAs(path("late.xls"));
    m_excel.CloseActiveWindow(1);
    std::vector<app::KorzakRecord> lines;
    ASSERT_TRUE(app::readOrderWorkbook(m_excel, path("late.xls"), lines));
    EXPECT_TRUE(lines.empty());
}

TEST_F(OrderWorkbook, DamagedOrMissingWorkbookKeepsTheBasketAndSaysWhy)
{
    addSampleLines();
    const std::string lines = basket();
    testsupport::writeFileBytes(m_folder.file("bad.xls"), "5;A;B;C;1;1;1\r\n");
    TestDriver damaged;
    damaged.answerMessage(Button::Ok);
    EXPECT_EQ(open(damaged, path("bad.xls")), "");
    EXPECT_EQ(basket(), lines);
    ASSERT_EQ(damaged.messages().size(), 1u);
    EXPECT_EQ(damaged.messages()[0].caption, w("Ошибка"));
    EXPECT_EQ(damaged.messages()[0].text,
              w("Не удалось прочитать файл заказа ") + path("bad.xls") + w(". Заказ не изменён."));

    TestDriver missing;
    missing.answerMessage(Button::Ok);
    EXPECT_EQ(open(missing, path("absent.XLS")), "");
    EXPECT_EQ(basket(), lines);
    ASSERT_EQ(missing.messages().size(), 1u);
    EXPECT_EQ(missing.messages()[0].text,
              w("Файл заказа не найден: ") + path("absent.XLS") + w(". Заказ не изменён."));
}
