#include "ProgramSession.h"

#include "app/dictionary/Dictionary.h"
#include "app/ordertext/OrderTextWrite.h"
#include "app/orderworkbook/ExportOrderToExcel.h"
#include "app/orderworkbook/ImportOrderFromExcel.h"
#include "app/procin/Procin.h"
#include "app/procvyg/Procvyg.h"
#include "app/startup/ErrorCodeTexts.h"
#include "office/ExcelAutomation.h"
#include "platform/automation/OleControl.h"
#include "platform/automation/PathTextServer.h"
#include "platform/automation/ServerRegistry.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/Window.h"
#include "tests/platform/automation/ChildCost.h"
#include "tests/platform/automation/WorkbookTestSupport.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include "platform/text/RealText.h"

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
        // The texts of the runtime's error codes, as the program sets them at its start.
        for (const auto& [code, text] : app::ErrorCodeTexts())
            platform::storage::setErrorText(code, w(text));
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
            const std::string money = platform::text::realFixedText(k.CENA, 2) + "/" +
                                      platform::text::realFixedText(k.SUMMA, 2);
            out += std::to_string(k.KOD) + ";" + k.OBOZ.str() + ";" + k.NAIM.str() + ";" +
                   k.PROIZV.str() + ";" + std::to_string(k.KOL) + ";" + money + "\n";
        }
        return out;
    }

    static std::string run(TestDriver& driver, const std::function<void()>& procedure)
    {
        return e2e::runAlongside(driver, procedure, 15000);
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

    // An order without lines is no order to open: the basket stays, and the user is told.
    addLine(5, "OLD", "", "", 1, 1);
    TestDriver opening;
    opening.answerMessage(Button::Ok);
    EXPECT_EQ(open(opening, path("empty.xls")), "");
    EXPECT_EQ(basket(), "5;OLD;;;1;1.00/1.00\n");
    ASSERT_EQ(opening.messages().size(), 1u);
    EXPECT_EQ(opening.messages()[0].text,
              w("В файле ") + path("empty.xls") + w(" нет строк заказа. Заказ не изменён."));
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
    EXPECT_EQ(saving.messages()[0].text, w("Не удалось записать файл заказа ") +
                                             path("no-such-folder/order.xls") +
                                             w(": Путь не найден (3). Прежний файл не изменён."));
}

// A save that fails says why as the text save does: the runtime's text and code of the write
// that failed, for both workbook forms as for the text file, and the previous file stays.
TEST_F(OrderWorkbook, AFailedSaveSaysWhyAsTheTextSaveDoes)
{
    addSampleLines();
    std::vector<std::string> said;
    const MessageHandler previous = setMessageHandler([&](const MessageRequest& request) {
        said.push_back(request.text);
        return Button::Ok;
    });
    std::filesystem::create_directory(m_folder.file("full"));
    struct Case
    {
        std::string folder;
        const char* why;
        bool fullDisk;
    };
    const Case cases[] = {
        {path("full"), "Нет места на диске (39)", true},
        {"/sys", "Нет доступа (5)", false}, // no one may make files there, not even root
        {path("no-such-folder"), "Путь не найден (3)", false},
    };
    for (const Case& failing : cases) {
        for (const std::string form : {".txt", ".xls", ".xlsx"}) {
            const std::string name = failing.folder + "/order" + form;
            if (failing.fullDisk)
                testsupport::writeFileBytes(name, "the previous order");
            said.clear();
            {
                std::optional<testsupport::FileSizeLimit> full;
                if (failing.fullDisk)
                    full.emplace(100);
                EXPECT_FALSE(form == ".txt" ? app::OrderTextWrite(name, "", 1)
                                            : app::ExportOrderToExcel(m_excel, name, "", 1, 0))
                    << name;
            }
            ASSERT_EQ(said.size(), 1u) << name;
            EXPECT_EQ(said[0], w("Не удалось записать файл заказа ") + name + ": " +
                                   w(failing.why) + w(". Прежний файл не изменён."))
                << platform::text::cp1251ToUtf8(said[0]);
            if (failing.fullDisk) {
                EXPECT_EQ(testsupport::readFileBytes(name), "the previous order") << name;
            }
        }
    }
    setMessageHandler(previous);
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
    EXPECT_EQ(lines[0].KOL, 32767) << "held at the field's limit";
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
    testsupport::writeFileBytes(m_folder.file("bad.xls"), "PK\x03\x04 not a package at all");
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

// The open window goes by what the file holds: a workbook in either form opens under any name.
TEST_F(OrderWorkbook, WorkbookOpensUnderAnyName)
{
    addSampleLines();
    const std::string lines = basket();
    for (const std::string form : {".xls", ".xlsx"}) {
        ASSERT_TRUE(app::writeOrderWorkbook(m_excel, path("saved" + form), "", 1, 0)) << form;
        for (const std::string name : {"a.xlsx", "b.XLS", "c.txt", "d"}) {
            const std::string copy = path(form.substr(1) + "-" + name);
            std::filesystem::copy_file(path("saved" + form), copy);
            emptyBasket();
            addLine(5, "OLD", "", "", 1, 1);
            TestDriver opening;
            EXPECT_EQ(open(opening, copy), "") << copy;
            EXPECT_TRUE(opening.messages().empty()) << copy;
            EXPECT_EQ(basket(), lines) << copy;
        }
    }
}

// Designations that look like numbers or formulas are the supplier's part numbers: every reader
// must see them as typed.
TEST_F(OrderWorkbook, DesignationsKeepEveryCharacterInBothForms)
{
    const char* const designations[] = {"0012", "5712.3700", "1E3", " 007 ", "2.10", "=A1",
                                        "12345678901234567", "'quoted", "_x0041_"};
    int code = 0;
    for (const char* designation : designations)
        addLine(++code, designation, "=SUM(A1:A2)", "0050", 1, 1);
    const QString perl = QStringLiteral("perl");
    const bool haveParseExcel = workbooktest::commandWorks(
        perl, {QStringLiteral("-MSpreadsheet::ParseExcel"), QStringLiteral("-e1")});
    const QString python = workbooktest::pythonWithOpenpyxl();
    for (const std::string form : {".xls", ".xlsx"}) {
        const std::string file = path("parts" + form);
        ASSERT_TRUE(app::writeOrderWorkbook(m_excel, file, "", 2, 0)) << form;
        std::vector<app::KorzakRecord> lines;
        ASSERT_TRUE(app::readOrderWorkbook(m_excel, file, lines));
        ASSERT_EQ(lines.size(), std::size(designations));
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(std::string(lines[i].OBOZ.view()),
                      (std::string(designations[i]) + std::string(50, ' ')).substr(0, 50))
                << form;
            EXPECT_EQ(lines[i].NAIM.str(), "=SUM(A1:A2)") << form;
            EXPECT_EQ(lines[i].PROIZV.str(), "0050") << form;
        }
        const bool xls = form == ".xls";
        if (xls ? !haveParseExcel : python.isEmpty())
            continue; // that reader is not installed here
        QString why;
        const auto view = workbooktest::runExternalReader(
            xls ? perl : python,
            {workbooktest::testData(xls ? "read_xls.pl" : "read_xlsx.py"), QString::fromStdString(file)},
            &why);
        ASSERT_TRUE(view) << why.toStdString();
        for (size_t i = 0; i < std::size(designations); ++i) {
            const QString row = QString::number(12 + static_cast<int>(i));
            const QString seen = view->cells.value(u'B' + row).value(0);
            EXPECT_EQ(seen, QString::fromLatin1(designations[i]).leftJustified(50)) << form;
            EXPECT_EQ(view->cells.value(u'C' + row).value(0).trimmed(), u"=SUM(A1:A2)") << form;
            EXPECT_EQ(view->cells.value(u'D' + row).value(0).trimmed(), u"0050") << form;
        }
    }
}

// Sums past the picture's eleven characters are written in full rather than as "#" marks,
// which read back as nothing.
TEST_F(OrderWorkbook, AmountsBeyondTheirPictureAreWrittenInFull)
{
    addLine(1, "BIG", "", "", 3, 99999999.99);
    addLine(2, "SMALL", "", "", 2, 12.5);
    for (const std::string form : {".xls", ".xlsx"}) {
        const std::string file = path("big" + form);
        ASSERT_TRUE(app::writeOrderWorkbook(m_excel, file, "", 2, 123456789.5)) << form;
        EXPECT_EQ(cell(file, "A10"), w("Общий вес заказа (кг): 123456789.5000"));
        EXPECT_EQ(cell(file, "G12"), "299999999.97");
        EXPECT_EQ(cell(file, "G13"), "25");
        std::vector<app::KorzakRecord> lines;
        ASSERT_TRUE(app::readOrderWorkbook(m_excel, file, lines));
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_DOUBLE_EQ(lines[0].SUMMA, 299999999.97) << form;
        EXPECT_DOUBLE_EQ(lines[0].CENA, 99999999.99) << form;
    }
}

// Values the fields cannot hold: codes are held at the field's limit (as the price list does),
// a negative quantity is no order line, a large one is held at the limit, NUL ends a text.
TEST_F(OrderWorkbook, ValuesOutsideTheirFieldsAreHeldOrRefused)
{
    m_excel.AddWorkbook();
    const char* const rows[][4] = {{"2147483648", "BIG", "5", "1"},
                                   {"-2147483649", "LOW", "1", "1"},
                                   {"7", "NEG", "-1", "1"},
                                   {"8", "HUGE", "70000", "2"},
                                   {"9", "ZERO", "0", "3"}};
    int row = 0;
    for (const auto& values : rows) {
        const std::string r = std::to_string(++row);
        m_excel.SetRangeFormula("A" + r, values[0]);
        m_excel.SetRangeFormula("B" + r, values[1]);
        m_excel.SetRangeFormula("E" + r, values[2]);
        m_excel.SetRangeFormula("F" + r, values[3]);
    }
    m_excel.SetRangeFormula("A6", "10");
    m_excel.SetRangeFormula("B6", std::string("AB\0CD", 5));
    m_excel.SaveWorkbookAs(path("fields.xls"));
    m_excel.CloseActiveWindow(1);

    std::vector<app::KorzakRecord> lines;
    ASSERT_TRUE(app::readOrderWorkbook(m_excel, path("fields.xls"), lines));
    std::string seen;
    for (const app::KorzakRecord& k : lines)
        seen += std::to_string(k.KOD) + ":" + k.OBOZ.str() + ":" + std::to_string(k.KOL) + " ";
    EXPECT_EQ(seen, "2147483647:BIG:5 -2147483648:LOW:1 8:HUGE:32767 9:ZERO:0 10:AB:0 ");
}

// A save that fails, or is cut off, leaves the order file the user had.
TEST_F(OrderWorkbook, FailedSaveKeepsThePreviousFile)
{
    addSampleLines();
    // A name that leaves no room for the temporary file beside it: the save cannot complete.
    const std::string name = path(std::string(250, 'o') + ".xls");
    testsupport::writeFileBytes(name, "the previous order");
    EXPECT_FALSE(app::writeOrderWorkbook(m_excel, name, "", 1, 0));
    EXPECT_EQ(testsupport::readFileBytes(name), "the previous order");
    EXPECT_EQ(m_excel.GetProperty("Workbooks.Count").substr(0, 2), "0 ") << "nothing left open";
}

TEST_F(OrderWorkbook, KilledSaveKeepsThePreviousFile)
{
    app::KORZAK().stream();
    for (int code = 1; code <= 4000; ++code)
        addLine(code, "N-1", "Свеча", "Бриз", 1, 1.25);
    app::KORZAK().flush();
    for (const std::string form : {".xls", ".xlsx"}) {
        const std::string name = path("order" + form);
        testsupport::writeFileBytes(name, "the previous order");
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        if (child == 0) {
            ::write(ready[1], "!", 1);
            app::writeOrderWorkbook(m_excel, name, "", 1, 0);
            _exit(0);
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_TRUE(WIFSIGNALED(status)) << form << ": the save ended before it was cut off";
        EXPECT_EQ(testsupport::readFileBytes(name), "the previous order") << form;
    }
}

namespace {

// A spreadsheet whose only sheet has column A filled to its last row (1048576): texts, and an
// item row at the end. As the spreadsheet does, it refuses a range past the last row and keeps
// the selection where it was.
class FullColumnSheet : public platform::automation::AutomationObject,
                        public platform::automation::PathTextServer
{
public:
    static constexpr int kLastRow = 1048576;

    platform::automation::AutomationValue get(std::string_view member,
                                              const platform::automation::Arguments&) override
    {
        unknown(member);
    }
    std::string typeName() const override { return "FullColumnSheet"; }

    std::string readPath(std::string_view path) override
    {
        if (path == "Application.Version")
            return "11.0";
        if (path == "Workbooks.Count")
            return std::to_string(m_open);
        if (path.rfind("Workbooks.Open(", 0) == 0) {
            m_open = 1;
            return "`1";
        }
        if (path.rfind("ActiveWindow.Close(", 0) == 0) {
            m_open = 0;
            return "1";
        }
        if (path.rfind("Range(\"", 0) == 0) {
            const char column = path[7];
            const long row = std::strtol(std::string(path.substr(8)).c_str(), nullptr, 10);
            if (row < 1 || row > kLastRow)
                return {}; // refused: the selection stays
            m_column = column;
            m_row = row;
            return "1";
        }
        if (path == "ActiveCell.Value") {
            if (m_row < kLastRow)
                return m_column == 'A' ? "x" : "";
            return m_column == 'A' ? "5" : m_column == 'B' ? "LAST" : "";
        }
        return {};
    }
    bool writePath(std::string_view, std::string_view) override { return true; }

private:
    int m_open = 0;
    char m_column = 'A';
    long m_row = 1;
};

} // namespace

// A column A filled to the sheet's last row has no seventh blank cell: the reading ends at the
// last row instead of asking for rows the sheet does not have, for ever.
TEST_F(OrderWorkbook, ColumnFilledToTheLastRowEndsAtTheLastRow)
{
    auto sheet = std::make_shared<FullColumnSheet>();
    const auto previous = platform::automation::ServerRegistry::registerServer(
        "Excel.Application", [sheet] { return sheet; });
    WindowDefinition definition;
    definition.kind = "window";
    definition.label = "full";
    ControlDefinition ole;
    ole.number = 1;
    ole.kind = "ole";
    definition.controls.push_back(ole);
    Window window(definition);
    office::ExcelAutomation excel;
    excel.Init(&window, 1, 1, 0, 0);
    testsupport::writeFileBytes(m_folder.file("full.xlsx"), "stands for the workbook");
    const childcost::Cost cost = childcost::measure(
        [&] {
            std::vector<app::KorzakRecord> lines;
            const bool read = app::readOrderWorkbook(excel, path("full.xlsx"), lines);
            return read && lines.size() == 1 && lines[0].KOD == 5 && lines[0].OBOZ.str() == "LAST"
                       ? 0
                       : 1;
        },
        30);
    platform::automation::ServerRegistry::registerServer("Excel.Application", previous);
    EXPECT_TRUE(cost.finished) << "still reading after " << cost.seconds << " s";
    EXPECT_EQ(cost.exitCode, 0);
}

