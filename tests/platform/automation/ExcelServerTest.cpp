#include "platform/automation/OleContainer.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/PrinterSetup.h"
#include "tests/support/TempWorkFolder.h"

#include <QFileInfo>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>
#include "platform/text/RealText.h"

namespace {

using platform::automation::OleContainer;
using platform::text::w;

// The built-in spreadsheet server driven by path texts, as the Office drivers drive it.
class ExcelServer : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_ole.create("Excel.Application"));
        m_ole.read("Workbooks.Add");
    }
    std::string read(const std::string& path) { return m_ole.read(path); }
    void write(const std::string& path, const std::string& value)
    {
        EXPECT_TRUE(m_ole.write(path, value)) << path << ": " << m_ole.lastError();
    }
    void run(const std::string& path)
    {
        m_ole.read(path);
        EXPECT_EQ(m_ole.lastError(), "") << path;
    }

    OleContainer m_ole;
};

TEST_F(ExcelServer, SelectionAndActiveCellFollowTheLastSelect)
{
    EXPECT_EQ(read("Selection.Address"), "$A$1");
    EXPECT_EQ(read("Range(\"A1:G1\").Select"), "1");
    EXPECT_EQ(read("Selection.Address"), "$A$1:$G$1");
    EXPECT_EQ(read("ActiveCell.Address"), "$A$1");
    write("Selection.MergeCells", "1");
    write("ActiveCell.FormulaR1C1", w("ЗАКАЗ"));
    EXPECT_EQ(read("Range(\"A1\").Value"), w("ЗАКАЗ"));
    EXPECT_EQ(read("Range(\"A1:G1\").MergeCells"), "1");
    EXPECT_EQ(read("Range(\"B1\").Value"), "");
    run("Cells(3,2).Select");
    EXPECT_EQ(read("ActiveCell.Address"), "$B$3");
    run("Columns(\"C:D\").Select");
    EXPECT_EQ(read("Selection.Address"), "$C$1:$D$1048576");
    run("Rows(5).Select");
    EXPECT_EQ(read("ActiveCell.Address"), "$A$5");
}

TEST_F(ExcelServer, EntriesBecomeNumbersTextsOrFormulas)
{
    write("Range(\"F12\").FormulaR1C1", "      12.50");
    write("Range(\"B12\").FormulaR1C1", "ABC  ");
    write("Range(\"C12\").FormulaR1C1", "=5");
    write("Range(\"D12\").Value", "=R1C1*2");
    EXPECT_EQ(read("Range(\"F12\").Value"), "12.5");
    EXPECT_EQ(read("Range(\"B12\").Value"), "ABC  ") << "texts keep their trailing blanks";
    EXPECT_EQ(read("Range(\"C12\").Value"), "5");
    EXPECT_EQ(read("Range(\"C12\").Formula"), "=5");
    EXPECT_EQ(read("Range(\"D12\").FormulaR1C1"), "=R1C1*2");
    write("Range(\"F12\").NumberFormat", "0.00");
    EXPECT_EQ(read("Range(\"F12\").Text"), "12.50");
    write("Range(\"A1:B2\").Value", "x");
    EXPECT_EQ(read("Range(\"B2\").Value"), "x");
}

TEST_F(ExcelServer, FontsAlignmentAndNumberFormatsGoToEveryCellOfTheRange)
{
    run("Range(\"A11:C11\").Select");
    write("Selection.Font.Bold", "1");
    write("Selection.Font.Italic", "True");
    write("Selection.Font.Size", "12");
    write("Selection.Font.ColorIndex", "11");
    write("Selection.Font.Name", "Times New Roman");
    write("Selection.HorizontalAlignment", "-4108");
    write("Selection.VerticalAlignment", "-4108");
    write("Selection.WrapText", "1");
    write("Selection.Interior.ColorIndex", "6");
    EXPECT_EQ(read("Range(\"C11\").Font.Bold"), "1");
    EXPECT_EQ(read("Range(\"C11\").Font.Italic"), "1");
    EXPECT_EQ(read("Range(\"C11\").Font.Size"), "12");
    EXPECT_EQ(read("Range(\"C11\").Font.ColorIndex"), "11");
    EXPECT_EQ(read("Range(\"C11\").Font.Name"), "Times New Roman");
    EXPECT_EQ(read("Cells(11,2).HorizontalAlignment"), "-4108");
    EXPECT_EQ(read("Cells(11,2).VerticalAlignment"), "-4108");
    EXPECT_EQ(read("Cells(11,2).WrapText"), "1");
    EXPECT_EQ(read("Cells(11,2).Interior.ColorIndex"), "6");
    EXPECT_EQ(read("Range(\"D11\").Font.Bold"), "0");
    // Values the spreadsheet refuses leave the cells as they were.
    EXPECT_FALSE(m_ole.write("Selection.HorizontalAlignment", "244"));
    EXPECT_FALSE(m_ole.write("Selection.Font.ColorIndex", "57"));
    EXPECT_EQ(read("Cells(11,2).HorizontalAlignment"), "-4108");
    // A whole column is formatted in the cells it holds, not in a million new ones.
    write("Columns(3).Font.Bold", "0");
    EXPECT_EQ(read("Range(\"C11\").Font.Bold"), "0");
}

TEST_F(ExcelServer, BordersByEdgeNameOrAll)
{
    run("Range(\"A1:C2\").Select");
    write("Selection.Borders(xlEdgeRight).LineStyle", "1");
    EXPECT_EQ(read("Range(\"C1\").Borders(10).LineStyle"), "1");
    EXPECT_EQ(read("Range(\"B1\").Borders(xlEdgeRight).LineStyle"), "-4142");
    write("Selection.Borders(xlInsideHorizontal).Weight", "-4138");
    EXPECT_EQ(read("Range(\"A1\").Borders(xlEdgeBottom).Weight"), "-4138");
    EXPECT_EQ(read("Range(\"A1\").Borders(xlEdgeBottom).LineStyle"), "1") << "a weight draws the line";
    EXPECT_EQ(read("Range(\"A1\").Borders(xlEdgeTop).LineStyle"), "-4142");
    write("Range(\"E5\").Borders.ColorIndex", "-4105");
    write("Range(\"E5\").Borders.LineStyle", "1");
    write("Range(\"E5\").Borders.Weight", "2");
    for (const char* edge : {"xlEdgeLeft", "xlEdgeTop", "xlEdgeBottom", "xlEdgeRight"})
        EXPECT_EQ(read(std::string("Range(\"E5\").Borders(") + edge + ").Weight"), "2") << edge;
    EXPECT_EQ(read("Range(\"E5\").Borders.Item(7).ColorIndex"), "-4105");
}

TEST_F(ExcelServer, WidthsHeightsInsertAndAutoFit)
{
    write("Columns(2).ColumnWidth", "40");
    write("Columns(\"C:D\").ColumnWidth", "12");
    run("Range(\"E1:F1\").Select");
    write("Selection.Columns.ColumnWidth", "7");
    write("Rows(2).RowHeight", "30");
    EXPECT_EQ(read("Columns(2).ColumnWidth"), "40");
    EXPECT_EQ(read("Range(\"D9\").ColumnWidth"), "12");
    EXPECT_EQ(read("Columns(6).ColumnWidth"), "7");
    EXPECT_EQ(read("Rows(2).RowHeight"), "30");
    EXPECT_EQ(read("Rows(3).RowHeight"), "12.75");
    EXPECT_FALSE(m_ole.write("Columns(1).ColumnWidth", "256"));

    write("Range(\"A2\").Value", "row two");
    run("Range(\"A2:B2\").Merge");
    run("Rows(2).Select");
    run("Selection.Insert(-4121)");
    EXPECT_EQ(read("Range(\"A3\").Value"), "row two");
    EXPECT_EQ(read("Range(\"A2\").Value"), "");
    EXPECT_EQ(read("Range(\"A3:B3\").MergeCells"), "1");
    EXPECT_EQ(read("Rows(3).RowHeight"), "30");
    run("Columns(1).Select");
    run("Selection.Insert(-4161)");
    EXPECT_EQ(read("Range(\"B3\").Value"), "row two");
    EXPECT_EQ(read("Columns(3).ColumnWidth"), "40");

    write("Range(\"D1\").Value", "a much longer text than the column");
    run("Columns(4).AutoFit");
    EXPECT_GT(platform::text::textToReal(read("Columns(4).ColumnWidth")), 30);
    EXPECT_EQ(read("Range(\"D1\").AutoFit"), "") << "a range of cells cannot be fitted";
}

TEST_F(ExcelServer, ReplaceGotoCopyAndPaste)
{
    write("Range(\"A1\").Value", "old");
    write("Range(\"A2\").Value", "Old text");
    run("Cells.Replace(\"old\",\"new\",1,1,1)");
    EXPECT_EQ(read("Range(\"A1\").Value"), "new");
    EXPECT_EQ(read("Range(\"A2\").Value"), "Old text");
    run("Cells.Replace(\"old\",\"new\",2,1,0)");
    EXPECT_EQ(read("Range(\"A2\").Value"), "new text");

    run("Application.Goto(\"C7\")");
    EXPECT_EQ(read("ActiveCell.Address"), "$C$7");

    run("Range(\"A1:A2\").Select");
    run("Selection.Copy");
    run("Range(\"D4\").Select");
    run("Selection.Paste");
    EXPECT_EQ(read("Range(\"D5\").Value"), "new text");
    EXPECT_EQ(read("Selection.Address"), "$D$4:$D$5");

    OleContainer::setClipboardText(w("Код\t12.5\r\nx\ty\r\n"));
    run("Range(\"B10\").Select");
    run("ActiveSheet.Paste");
    EXPECT_EQ(read("Range(\"B10\").Value"), w("Код"));
    EXPECT_EQ(read("Range(\"C10\").Value"), "12.5");
    EXPECT_EQ(read("Range(\"C11\").Value"), "y");
    OleContainer::setClipboardText("");
    EXPECT_EQ(read("ActiveSheet.Paste"), "") << "nothing to paste";
}

TEST_F(ExcelServer, SheetsWorkbooksAndSettings)
{
    run("Sheets.Add");
    EXPECT_EQ(read("Sheets.Count"), "2");
    EXPECT_EQ(read("ActiveSheet.Index"), "2");
    write("Sheets(2).Name", "Totals");
    run("Sheets(1).Select");
    EXPECT_EQ(read("ActiveSheet.Index"), "1");
    EXPECT_EQ(read("Sheets(\"totals\").Index"), "2");
    EXPECT_FALSE(m_ole.write("Sheets(1).Name", "Totals")) << "names are unique";
    write("DisplayAlerts", "0");
    write("Visible", "0");
    write("ScreenUpdating", "0");
    write("Application.WindowState", "2");
    EXPECT_EQ(read("DisplayAlerts"), "0");
    EXPECT_EQ(read("Application.WindowState"), "2");
    EXPECT_EQ(read("Application.International(3)"), ".");
    EXPECT_EQ(read("CentimetersToPoints(-2)").substr(0, 6), "-56.69");
    run("Application.Activate");
    run("Workbooks.Add");
    EXPECT_EQ(read("Workbooks.Count"), "2");
    EXPECT_EQ(read("ActiveWorkbook.Name"), "Book2");
    run("Quit");
    EXPECT_EQ(read("Workbooks.Count"), "0");
}

TEST_F(ExcelServer, ChartsAndPageSetupAreKept)
{
    run("Range(\"A1:C4\").Select");
    run("Charts.Add");
    write("ActiveChart.ChartType", "51");
    run("ActiveChart.Location(2, \"Sheet1\")");
    EXPECT_EQ(read("ActiveChart.ChartType"), "51");
    EXPECT_EQ(read("ActiveChart.SeriesCollection.Count"), "3");
    write("ActiveChart.SeriesCollection(2).AxisGroup", "2");
    EXPECT_FALSE(m_ole.write("ActiveChart.SeriesCollection(4).AxisGroup", "2"));
    run("ActiveChart.PlotArea.Select");
    write("Selection.Border.ColorIndex", "3");
    write("Selection.Interior.Pattern", "1");
    EXPECT_EQ(read("ActiveChart.PlotArea.Border.ColorIndex"), "3");
    run("ActiveChart.Legend.Select");
    write("Selection.Position", "-4107");
    EXPECT_EQ(read("ActiveChart.Legend.Position"), "-4107");
    write("ActiveChart.Axes(2,1).HasTitle", "1");
    write("ActiveChart.Axes(2,1).AxisTitle.Characters.Text", "Sum");
    EXPECT_EQ(read("ActiveChart.Axes(2,1).AxisTitle.Characters.Text"), "Sum");
    run("Range(\"A1\").Select");
    EXPECT_EQ(read("Selection.Address"), "$A$1") << "selecting cells leaves the chart part";

    write("ActiveSheet.PageSetup.CenterHeader", w("Заказ"));
    write("ActiveSheet.PageSetup.TopMargin", read("CentimetersToPoints(2)") + "   ");
    EXPECT_EQ(read("ActiveSheet.PageSetup.CenterHeader"), w("Заказ"));
    EXPECT_FALSE(m_ole.write("ActiveSheet.PageSetup.Nonsense", "1"));
}

TEST_F(ExcelServer, PrintOutDrawsTheSheetOnTheProcessPrinter)
{
    testsupport::TempWorkFolder folder;
    QPrinter& printer = platform::ui::PrinterSetup::printer();
    const QString pdf = QString::fromStdString(folder.file("sheet.pdf").string());
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    write("Range(\"A1\").Value", w("ЗАКАЗ"));
    write("Range(\"B2\").Value", "12.5");
    write("ActiveSheet.PageSetup.Orientation", "2");
    run("ActiveSheet.PrintOut(,,1,,,,,)");
    EXPECT_GT(QFileInfo(pdf).size(), 500);
    printer.setOutputFileName(QString());
}

TEST_F(ExcelServer, SaveAsWritesTheFormatTheNameAsksForAndOpenReadsItBack)
{
    testsupport::TempWorkFolder folder;
    run("Range(\"A1:G1\").Select");
    write("Selection.MergeCells", "1");
    write("ActiveCell.FormulaR1C1", w("ЗАКАЗ"));
    write("Selection.Font.Bold", "1");
    write("Selection.Borders.LineStyle", "1");
    write("Range(\"F12\").FormulaR1C1", "      12.50");
    write("Range(\"F12\").NumberFormat", "0.00");
    write("Range(\"F12\").Font.ColorIndex", "5");
    write("Columns(6).ColumnWidth", "16");
    for (const char* name : {"order.xls", "order.xlsx"}) {
        run(std::string("ActiveWorkbook.SaveAs(\"") + name + "\")");
        EXPECT_EQ(read("ActiveWorkbook.Name"), name);
    }
    run("ActiveWindow.Close(0)");
    EXPECT_EQ(read("Workbooks.Count"), "0");
    for (const char* name : {"order.xls", "order.xlsx"}) {
        run(std::string("Workbooks.Open(\"") + name + "\")");
        EXPECT_EQ(read("Range(\"A1\").Value"), w("ЗАКАЗ")) << name;
        EXPECT_EQ(read("Range(\"A1:G1\").MergeCells"), "1") << name;
        EXPECT_EQ(read("Range(\"A1\").Font.Bold"), "1") << name;
        EXPECT_EQ(read("Range(\"G1\").Borders(xlEdgeRight).LineStyle"), "1") << name;
        EXPECT_EQ(read("Range(\"F12\").Value"), "12.5") << name;
        EXPECT_EQ(read("Range(\"F12\").NumberFormat"), "0.00") << name;
        EXPECT_EQ(read("Range(\"F12\").Font.ColorIndex"), "5") << name;
        EXPECT_EQ(read("Columns(6).ColumnWidth"), "16") << name;
        // Reading changes nothing, so closing with save leaves the file as it was.
        const std::string before = testsupport::readFileBytes(folder.file(name));
        EXPECT_EQ(read("ActiveWorkbook.Saved"), "1") << name;
        run("ActiveWindow.Close(1)");
        EXPECT_EQ(testsupport::readFileBytes(folder.file(name)), before) << name;
    }
    run("Workbooks.Open(\"order.xls\")");
    write("Range(\"A2\").Value", "changed");
    run("ActiveWindow.Close(1)");
    run("Workbooks.Open(\"order.xls\")");
    EXPECT_EQ(read("Range(\"A2\").Value"), "changed") << "a changed workbook is saved on close";
}

TEST_F(ExcelServer, NothingIsLostOrSavedUnsafely)
{
    testsupport::TempWorkFolder folder;
    // A changed new workbook has no file to save to: closing it with save keeps it open.
    write("Range(\"A1\").Value", "kept");
    EXPECT_EQ(read("ActiveWorkbook.Saved"), "0");
    EXPECT_EQ(read("ActiveWindow.Close(1)"), "");
    EXPECT_EQ(read("Workbooks.Count"), "1");
    // A password cannot be kept, so the file is not written without it.
    EXPECT_EQ(read("Application.ActiveWorkbook.SaveAs(\"p.xls\",-4143,\"secret\",1,,0,1)"), "");
    EXPECT_FALSE(std::filesystem::exists(folder.file("p.xls")));
    run("Application.ActiveWorkbook.SaveAs(\"q.xls\",-4143,,1,,0,1)");
    EXPECT_TRUE(std::filesystem::exists(folder.file("q.xls")));
    // A failed save says so and leaves the workbook as it was.
    EXPECT_EQ(read("ActiveWorkbook.SaveAs(\"/no/such/folder/x.xls\")"), "");
    EXPECT_EQ(read("ActiveWorkbook.Name"), "q.xls");
}

// File names are taken as everywhere else in the program: "\" between folders, and a file that
// is there under another letter case is that file, replaced by a save and found by an open.
TEST_F(ExcelServer, FileNamesTakeBackslashesAndAnyLetterCase)
{
    testsupport::TempWorkFolder folder;
    std::filesystem::create_directory(folder.file("папка"));
    testsupport::writeFileBytes(folder.file("папка") / "Заказ.xls", "the previous order");
    write("Range(\"A1\").Value", "new");
    run("ActiveWorkbook.SaveAs(" + w("\"ПАПКА\\заказ.XLS\")"));
    EXPECT_EQ(std::vector<std::filesystem::path>(
                  std::filesystem::directory_iterator(folder.file("папка")), {}),
              std::vector<std::filesystem::path>{folder.file("папка") / "Заказ.xls"});
    run("ActiveWindow.Close(0)");
    run("Workbooks.Open(" + w("\"папка\\ЗАКАЗ.xls\")"));
    EXPECT_EQ(read("Range(\"A1\").Value"), "new");
}

} // namespace
