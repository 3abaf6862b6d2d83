#include "OrderWorkbookSequence.h"

#include "../platform/automation/WorkbookTestSupport.h"
#include "tests/support/TempWorkFolder.h"
#include "office/ExcelAutomation.h"
#include "platform/automation/OleControl.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using workbooktest::commandWorks;
using workbooktest::ExternalView;
using workbooktest::runExternalReader;
using workbooktest::testData;
using workbooktest::u8;

// The order workbook written and read through the channel by the built-in spreadsheet server.
class ExcelAutomationOrderTest : public testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        platform::automation::OleControl::registerKind();
        platform::ui::WindowDefinition definition;
        definition.kind = "window";
        definition.label = "order";
        platform::ui::ControlDefinition ole;
        ole.number = 1;
        ole.kind = "ole";
        definition.controls.push_back(ole);
        m_window = std::make_unique<platform::ui::Window>(definition);
        m_excel.Init(m_window.get(), 1, 1, 0, 0);
    }
    std::string file(const char* stem) const
    {
        return (m_folder.path() / (std::string(stem) + GetParam())).string();
    }

    testsupport::TempWorkFolder m_folder;
    std::unique_ptr<platform::ui::Window> m_window;
    office::ExcelAutomation m_excel;
};

TEST_P(ExcelAutomationOrderTest, WrittenOrderReadsBackLineByLine)
{
    const auto lines = ordersequence::sampleLines(25);
    const std::string name = file("order");
    ordersequence::writeOrder(m_excel, lines, name, ordersequence::sampleRequisites());
    ASSERT_TRUE(std::filesystem::exists(name));
    const auto read = ordersequence::readOrder(m_excel, name);
    ASSERT_EQ(read.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(read[i].code, lines[i].code);
        EXPECT_EQ(read[i].designation, lines[i].designation) << "trailing blanks are kept";
        EXPECT_EQ(read[i].maker, lines[i].maker);
        EXPECT_EQ(read[i].quantity, lines[i].quantity);
        EXPECT_DOUBLE_EQ(read[i].price, lines[i].price);
        EXPECT_DOUBLE_EQ(read[i].sum, lines[i].sum);
    }
    EXPECT_EQ(m_excel.GetProperty("Workbooks.Count").substr(0, 2), "0 ") << "both windows closed";
}

TEST_P(ExcelAutomationOrderTest, AnEmptyBasketReadsBackEmptyAndKeepsTheTrailingBlank)
{
    const std::string name = file("empty");
    ordersequence::writeOrder(m_excel, {}, name, ordersequence::sampleRequisites());
    EXPECT_TRUE(ordersequence::readOrder(m_excel, name).empty());
    m_excel.OpenWorkbook(name);
    EXPECT_EQ(m_excel.GetRangeValue("A3").substr(0, 8), platform::text::w("Адрес:  "));
    m_excel.CloseActiveWindow(0);
}

TEST_P(ExcelAutomationOrderTest, IndependentReaderSeesTheOrderFormats)
{
    const bool xls = std::string(GetParam()) == ".xls";
    QString program;
    QString script;
    if (xls) {
        if (!commandWorks(QStringLiteral("perl"),
                          {QStringLiteral("-MSpreadsheet::ParseExcel"), QStringLiteral("-e1")}))
            GTEST_SKIP() << "perl with Spreadsheet::ParseExcel is not installed";
        program = QStringLiteral("perl");
        script = testData("read_xls.pl");
    } else {
        program = workbooktest::pythonWithOpenpyxl();
        if (program.isEmpty())
            GTEST_SKIP() << "python3 with openpyxl is not installed";
        script = testData("read_xlsx.py");
    }
    const std::string name = file("formats");
    ordersequence::writeOrder(m_excel, ordersequence::sampleLines(3), name,
                              ordersequence::sampleRequisites());
    QString why;
    const auto view = runExternalReader(program, {script, QString::fromStdString(name)}, &why);
    ASSERT_TRUE(view) << why.toStdString();
    // value, bold, italic, size, horizontal, vertical, borders, number format, colour
    EXPECT_EQ(view->cells.value(QStringLiteral("A1")).mid(0, 7),
              (QStringList{u8("ЗАКАЗ"), QStringLiteral("1"), QStringLiteral("1"),
                           QStringLiteral("14"), QStringLiteral("center"), QStringLiteral("center"),
                           QStringLiteral("thin,thin,thin,thin")}));
    EXPECT_EQ(view->cells.value(QStringLiteral("A2")).value(0), u8("Заказчик: ООО Ромашка"));
    EXPECT_EQ(view->cells.value(QStringLiteral("A10")).value(1), QStringLiteral("1"));
    EXPECT_EQ(view->cells.value(QStringLiteral("C11")).mid(0, 5),
              (QStringList{u8("Наименование"), QStringLiteral("1"), QStringLiteral("1"),
                           QStringLiteral("12"), QStringLiteral("center")}));
    const QStringList code = view->cells.value(QStringLiteral("A12"));
    EXPECT_EQ(code.value(0), QStringLiteral("100001"));
    EXPECT_EQ(code.value(4), QStringLiteral("right"));
    EXPECT_EQ(code.value(8), QStringLiteral("000080"));
    EXPECT_EQ(view->cells.value(QStringLiteral("E12")).value(8), QStringLiteral("0000ff"));
    const QStringList price = view->cells.value(QStringLiteral("F12"));
    EXPECT_EQ(price.value(0), QStringLiteral("13.5"));
    EXPECT_EQ(price.value(5), QStringLiteral("center"));
    EXPECT_EQ(price.value(6), QStringLiteral("thin,thin,thin,thin"));
    EXPECT_EQ(price.value(7), QStringLiteral("0.00"));
    for (int row = 1; row <= 10; ++row)
        EXPECT_TRUE(view->merges.contains(QStringLiteral("A%1:G%1").arg(row))) << row;
    const double widths[] = {10, 40, 40, 30, 12, 16, 17};
    // The binary reader shows the width as set; Open XML holds it with the cell padding.
    const double padding = xls ? 0 : 0.71;
    for (int column = 1; column <= 7; ++column)
        EXPECT_NEAR(view->widths.value(platform::automation::workbook::CellRange::columnName(column)),
                    widths[column - 1] + padding, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Formats, ExcelAutomationOrderTest, testing::Values(".xls", ".xlsx"),
                         [](const auto& info) { return std::string(info.param).substr(1); });

} // namespace
