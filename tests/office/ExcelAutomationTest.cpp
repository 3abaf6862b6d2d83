#include "RecordingServer.h"

#include "office/ExcelAutomation.h"
#include "platform/automation/OleContainer.h"

#include <QClipboard>
#include <QGuiApplication>

using officetest::RecordingTest;
using Texts = std::vector<std::string>;

namespace {

class ExcelAutomationTest : public RecordingTest
{
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        m_excel.Init(m_window.get(), 1, 1, 0, 0);
        texts().clear();
    }
    office::ExcelAutomation m_excel;
};

TEST_F(ExcelAutomationTest, WorkbookCommands)
{
    m_excel.OpenWorkbook("    ");
    m_excel.OpenWorkbook("C:\\orders\\a.xls");
    m_excel.AddWorkbookFromTemplate("t.xlt");
    m_excel.SaveWorkbookAs("b.xls");
    m_excel.SaveWorkbookAsFormat("c.xls", -4143, "", "\"x\"", 0);
    m_excel.CloseActiveWindow(1);
    EXPECT_EQ(texts(), (Texts{"read Workbooks.Add", "read Workbooks.Open(\"C:\\orders\\a.xls\")",
                              "read Workbooks.Add(\"t.xlt\")", "read ActiveWorkbook.SaveAs(\"b.xls\")",
                              "read Application.ActiveWorkbook.SaveAs(\"c.xls\",-4143,,1,\"x\",0,1)",
                              "read ActiveWindow.Close(1)"}));
}

TEST_F(ExcelAutomationTest, SheetCommands)
{
    m_excel.AddSheet(0);
    EXPECT_TRUE(texts().empty());
    m_excel.AddSheet(3);
    m_excel.SetSheetName(2, std::string(40, 'x'));
    m_excel.SetSheetName(1, "Order");
    m_excel.SelectSheetByName("Order");
    m_excel.GetSheetIndex("Order");
    EXPECT_EQ(texts(), (Texts{"read Sheets.Add", "read Sheets.Add", "read Sheets.Add",
                              "write Sheets(2).Name = " + std::string(31, 'x'),
                              "write Sheets(1).Name = Order", "read Sheets(\"Order\").Select",
                              "read Sheets(\"Order\").Index"}));
}

TEST_F(ExcelAutomationTest, SelectThenActKeepsTheRangeSelectedAndStoresTheAnswer)
{
    m_recording->answers["Range(\"B2\").Select"] = "`41";
    m_recording->answers["ActiveCell.Value"] = "12.5";
    m_excel.SetRangeFormula("B2", "=R1C1");
    EXPECT_EQ(m_excel.object(), "`41" + std::string(16, ' '));
    const std::string value = m_excel.GetRangeValue("B2");
    EXPECT_EQ(value.substr(0, 5), "12.5 ");
    m_excel.SetCellsFormula(3, 4, "x");
    m_excel.InsertRow(5);
    m_excel.InsertColumn(2);
    m_excel.InsertColumnRange("C:D");
    EXPECT_EQ(texts(), (Texts{"read Range(\"B2\").Select", "write ActiveCell.FormulaR1C1 = =R1C1",
                              "read Range(\"B2\").Select", "read ActiveCell.Value",
                              "read Cells(3,4).Select", "write ActiveCell.FormulaR1C1 = x",
                              "read Rows(5).Select", "read Selection.Insert(-4121)",
                              "read Columns(2).Select", "read Selection.Insert(-4161)",
                              "read Columns(\"C:D\").Select", "read Selection.Insert(-4161)"}));
}

TEST_F(ExcelAutomationTest, EmptyValueComesBackAs255Blanks)
{
    EXPECT_EQ(m_excel.GetCellsValue(1, 1), std::string(255, ' '));
}

TEST_F(ExcelAutomationTest, RangeGettersKeepTheLowEightBits)
{
    m_recording->answers["Cells(1,1).HorizontalAlignment"] = "-4108";
    m_recording->answers["Range(\"A1\").HorizontalAlignment"] = "-4108";
    m_recording->answers["Range(\"A1\").WrapText"] = "1";
    EXPECT_EQ(m_excel.GetCellsHorizontalAlignment(1, 1), -4108);
    EXPECT_EQ(m_excel.GetCellsAlignment(1, 1), -4108);
    EXPECT_EQ(m_excel.GetRangeHorizontalAlignment("A1"), 244);
    EXPECT_EQ(m_excel.GetRangeAlignment("A1"), 244);
    EXPECT_EQ(m_excel.GetRangeWrapText("A1"), 1);
}

TEST_F(ExcelAutomationTest, ByteSettersSendTheByteAndMergesSendOne)
{
    m_excel.SetSelectionMergeCells(2);
    m_excel.MergeSelection();
    m_excel.SetRangeMergeCells("A1:G1");
    m_excel.SetCellsWrapText(2, 3, 200);
    m_excel.SetRangeVerticalAlignment("A1", 255);
    m_excel.SetAlignment(3);
    m_excel.SetColumnWidth(1, 10);
    m_excel.SetRowHeight(2, -5);
    m_excel.SetCellsNumberFormat(1, 2, "0.00");
    EXPECT_EQ(texts(), (Texts{"write Selection.MergeCells = 2", "write Selection.MergeCells = 1",
                              "write Range(\"A1:G1\").MergeCells = 1",
                              "write Cells(2,3).WrapText = 200",
                              "write Range(\"A1\").VerticalAlignment = 255",
                              "write Selection.HorizontalAlignment = 3",
                              "write Columns(1).ColumnWidth = 10", "write Rows(2).RowHeight = -5",
                              "write Cells(1,2).NumberFormat = 0.00"}));
}

TEST_F(ExcelAutomationTest, PrefixBlockReachesTheSelections)
{
    m_excel.SetPrefix("Selection.");
    m_excel.SelectRange("A1");
    m_excel.SetProperty("HorizontalAlignment", "-4108");
    m_excel.ClearPrefix();
    EXPECT_EQ(texts(), (Texts{"read Selection.Range(\"A1\").Select",
                              "write Selection.HorizontalAlignment = -4108"}));
}

TEST_F(ExcelAutomationTest, QuotesInsideArgumentsAreDoubled)
{
    m_excel.SaveWorkbookAs("a\"b.xls");
    EXPECT_EQ(texts(), (Texts{"read ActiveWorkbook.SaveAs(\"a\"\"b.xls\")"}));
}

// Every text an operation puts into its path reaches the server whole, however odd: file names,
// sheet names, ranges and the texts sought and put in their place.
TEST_F(ExcelAutomationTest, EveryTextInAPathReadsBackWhole)
{
    const std::string odd = officetest::oddText();
    m_excel.OpenWorkbook(odd);
    m_excel.AddWorkbookFromTemplate(odd);
    m_excel.SaveWorkbookAs(odd);
    m_excel.SaveWorkbookAsFormat(odd, -4143, "", "", 0);
    m_excel.SelectSheetByName(odd);
    m_excel.GetSheetIndex(odd);
    m_excel.SelectRange(odd);
    m_excel.SelectColumnRange(odd);
    m_excel.GetColumnRangeWidth(odd);
    m_excel.SetColumnRangeWidth(odd, 3);
    m_excel.AutoFitColumnRange(odd);
    m_excel.AutoFilterRange(odd);
    m_excel.SetRangeNumberFormat(odd, "0.00");
    m_excel.AddChart(51, 2, odd);
    m_excel.GotoAndReplace(odd, odd, 1, 2);
    for (const std::string& text : texts()) {
        if (text.find("Charts.Add") != std::string::npos ||
            text.find("ChartType") != std::string::npos)
            continue; // the chart's own steps carry no text
        const auto arguments = officetest::quotedArguments(text);
        ASSERT_FALSE(arguments.empty()) << text;
        for (const std::string& argument : arguments)
            EXPECT_EQ(argument, odd) << text;
    }
    EXPECT_EQ(officetest::quotedArguments(texts().back()).size(), 2u) << texts().back();
}

TEST_F(ExcelAutomationTest, GotoAndReplaceByMode)
{
    m_excel.GotoAndReplace("B3", "new", 1, 1);
    m_excel.GotoAndReplace("old", "new", 1, 2);
    m_excel.GotoAndReplace("old", "new", 0, 0);
    EXPECT_EQ(texts(), (Texts{"read Application.Goto(\"B3\")", "write ActiveCell.FormulaR1C1 = new",
                              "read Cells.Replace(\"old\",\"new\",1,1,1)",
                              "read Cells.Replace(\"old\",\"new\",1,1,0)"}));
}

TEST_F(ExcelAutomationTest, PasteSheetCarriesTheTextOnTheClipboardAndClearsIt)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("what the user had"));
    std::string seen = "unset";
    m_excel.PasteSheet("  ");
    EXPECT_EQ(texts(), (Texts{"read ActiveSheet.Paste"}));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    m_excel.PasteToCells(2, 3, "a\tb");
    EXPECT_EQ(texts().back(), "read ActiveSheet.Paste");
    EXPECT_EQ(texts()[1], "read Cells(2,3).Select");
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
}

TEST_F(ExcelAutomationTest, LayoutCommands)
{
    m_excel.AutoFitColumn(3);
    m_excel.AutoFitColumnRange("A:B");
    m_excel.AutoFitRow(4);
    m_excel.AutoFilterRange("A11:G11");
    m_excel.AutoFormatRange("A1:C3", 7);
    m_excel.GetInternational(3);
    EXPECT_EQ(texts(), (Texts{"read Columns(3).AutoFit", "read Columns(\"A:B\").AutoFit",
                              "read Rows(4).AutoFit", "read Range(\"A11:G11\").AutoFilter",
                              "read Range(\"A1:C3\").Select", "read Selection.AutoFormat(7,1,1,1,1,1,1)",
                              "read Application.International(3)"}));
}

TEST_F(ExcelAutomationTest, ChartCommands)
{
    m_excel.AddChart(51, 2, "Sheet1");
    m_excel.SetChartDataTable(2);
    m_excel.SetChartDataTable(0);
    m_excel.SetChartGridlines(2, 200, 0);
    m_excel.SetChartAxis2Title("Sum");
    m_excel.FormatChartArea(1, 2, 1, 6, 3, -4142);
    EXPECT_EQ(texts(), (Texts{"read Charts.Add", "write ActiveChart.ChartType = 51",
                              "read ActiveChart.Location(2, \"Sheet1\")",
                              "write ActiveChart.HasDataTable = 1",
                              "write ActiveChart.DataTable.ShowLegendKey = 1",
                              "write ActiveChart.HasDataTable = 0",
                              "write ActiveChart.DataTable.ShowLegendKey = 0",
                              "read ActiveChart.PlotArea.Select",
                              "write ActiveChart.Axes(2).HasMajorGridlines = 200",
                              "write ActiveChart.Axes(2).HasMinorGridlines = 0",
                              "read ActiveChart.ChartArea.Select",
                              "write ActiveChart.Axes(2,1).HasTitle = 1",
                              "write ActiveChart.Axes(2,1).AxisTitle.Characters.Text = Sum",
                              "read ActiveChart.ChartArea.Select",
                              "write Selection.Border.ColorIndex = 1", "write Selection.Border.Weight = 2",
                              "write Selection.Border.LineStyle = 1",
                              "write Selection.Interior.ColorIndex = 6",
                              "write Selection.Interior.PatternColorIndex = 3",
                              "write Selection.Interior.Pattern = -4142"}));
}

TEST_F(ExcelAutomationTest, PageSetupAndPrinting)
{
    m_recording->answers["CentimetersToPoints(-2)"] = "-56.6929133858268";
    m_excel.SetPageMargins(2, -2, 0, 1);
    ASSERT_EQ(texts().size(), 8u);
    EXPECT_EQ(texts()[2], "read CentimetersToPoints(-2)");
    EXPECT_EQ(texts()[3], "write ActiveSheet.PageSetup.BottomMargin = -56.6929133858268"
                              + std::string(255 - 17, ' '));
    texts().clear();
    m_excel.SetPageHeadersFooters("", "Order", "", "", "", "p");
    EXPECT_EQ(texts().size(), 6u);
    EXPECT_EQ(texts()[0], "write ActiveSheet.PageSetup.LeftHeader = ");
    texts().clear();
    m_excel.PrintActiveSheet(0);
    m_excel.SetPaperSizeAndOrientation(9, 2);
    EXPECT_EQ(texts(), (Texts{"read ActiveSheet.PrintOut(,,0,,,,,)",
                              "write ActiveSheet.PageSetup.PaperSize = 9",
                              "write ActiveSheet.PageSetup.Orientation = 2"}));
}

} // namespace
