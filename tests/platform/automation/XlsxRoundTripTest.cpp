#include "WorkbookTestSupport.h"

#include "platform/automation/workbook/ColumnWidthUnits.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsxReader.h"
#include "platform/automation/workbook/XlsxWriter.h"

#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <random>

using namespace platform::automation::workbook;
using namespace workbooktest;

namespace {

QString pathIn(const testsupport::TempWorkFolder& folder, const char* name)
{
    return QString::fromStdString(folder.file(name).string());
}

Workbook roundTrip(const Workbook& book, const QString& path)
{
    XlsxWriter::write(book, path);
    return XlsxReader::read(path);
}

} // namespace

TEST(XlsxRoundTrip, OrderSheetReadsBackUnchanged)
{
    testsupport::TempWorkFolder folder;
    const Workbook book = makeOrderWorkbook(5);
    const Workbook read = roundTrip(book, pathIn(folder, "order.xlsx"));
    expectSameWorkbook(book, read);
    EXPECT_EQ(read.sheet(0).value(4, 1), CellValue::text(u8("ИНН: ")));
    EXPECT_EQ(read.sheet(0).value(12, 7), CellValue::number(12.5));
}

TEST(XlsxRoundTrip, ValuesOfEveryKind)
{
    testsupport::TempWorkFolder folder;
    Workbook book;
    Worksheet& sheet = book.addSheet(u8("Данные"));
    const double numbers[] = {0, -1, 12.5, 0.1, 1e300, -2.5e-300, 3.14159265358979, 1234567.89};
    int row = 1;
    for (double number : numbers) {
        sheet.setValue(row++, 1, CellValue::number(number));
    }
    sheet.setValue(row++, 1, CellValue::boolean(true));
    sheet.setValue(row++, 1, CellValue::boolean(false));
    sheet.setValue(row++, 1, CellValue::text(QStringLiteral("  leading and trailing  ")));
    sheet.setValue(row++, 1, CellValue::text(QStringLiteral("<&>\"'")));
    sheet.cell(row++, 3).format.fillColorIndex = 6;
    CellFormat& odd = sheet.cell(row, 16384).format;
    odd.font.underline = Underline::Double;
    odd.font.name = QStringLiteral("Courier New");
    odd.alignment = Alignment{HorizontalAlignment::Distributed, VerticalAlignment::Top, true};
    odd.borders.edge(Edge::Top) = BorderLine{LineStyle::Dash, BorderWeight::Medium, 3};
    odd.borders.edge(Edge::Left) =
        BorderLine{LineStyle::Double, BorderWeight::Thick, Palette::kAutomatic};
    odd.numberFormat = QStringLiteral("#,##0.000");
    addBorderSamples(sheet, 1);
    sheet.setRowHeight(2, 30);
    sheet.setRowHeight(3, 0);
    sheet.setColumnWidth(3, 0);
    sheet.setColumnWidth(4, 0.5);
    book.addSheet();
    book.setActiveSheetIndex(1);

    const Workbook read = roundTrip(book, pathIn(folder, "values.xlsx"));
    expectSameWorkbook(book, read);
    EXPECT_EQ(read.activeSheetIndex(), 1);
}

// The file format escapes characters XML cannot hold as _xHHHH_; a text that merely looks like
// such an escape (a part number, say) must not come back as the character it names.
TEST(XlsxRoundTrip, TextsThatLookLikeEscapesKeepEveryCharacter)
{
    testsupport::TempWorkFolder folder;
    const QString texts[] = {
        QStringLiteral("_x0041_"),          QStringLiteral("A_x0041_B_x00e9_"),
        QStringLiteral("_x005F_"),          QStringLiteral("_x0001_ and \x01"),
        QStringLiteral("__x0041__"),        QStringLiteral("_x004_"),
        QStringLiteral("_X0041_ _x00G1_"),  QStringLiteral("tab\tand\x1F"),
        QStringLiteral("cr\r, lf\n, both\r\n"),
        QString(32766, u'-') + QStringLiteral("_x0041_"), // the cut leaves "_": no escape
        QStringLiteral("_x0041_").repeated(5000),
    };
    Workbook book;
    Worksheet& sheet = book.addSheet();
    int row = 0;
    for (const QString& text : texts) {
        sheet.setValue(++row, 1, CellValue::text(text));
    }
    const Workbook read = roundTrip(book, pathIn(folder, "escapes.xlsx"));
    row = 0;
    for (const QString& text : texts) {
        ++row;
        const QString seen = read.sheet(0).value(row, 1).textValue();
        if (row < static_cast<int>(std::size(texts))) {
            EXPECT_EQ(seen.toStdString(), text.left(32767).toStdString()) << row;
        } else {
            // Each look-alike takes six more characters in the file, which holds at most
            // 32767: the text is cut shorter, but what is kept is as written.
            EXPECT_TRUE(text.startsWith(seen)) << row;
            EXPECT_GT(seen.size(), 4000);
        }
    }
}

TEST(XlsxRoundTrip, IndependentReaderSeesValuesAndFormats)
{
    const QString python = pythonWithOpenpyxl();
    if (python.isEmpty()) {
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    }
    testsupport::TempWorkFolder folder;
    const QString path = pathIn(folder, "order.xlsx");
    XlsxWriter::write(makeOrderWorkbook(3), path);
    QString why;
    const std::optional<ExternalView> view =
        runExternalReader(python, {testData("read_xlsx.py"), path}, &why);
    ASSERT_TRUE(view) << why.toStdString();

    // value, bold, italic, size, horizontal, vertical, borders, number format, colour
    EXPECT_EQ(view->cells.value(QStringLiteral("A1")).mid(0, 7),
              (QStringList{u8("ЗАКАЗ"), QStringLiteral("1"), QStringLiteral("1"),
                           QStringLiteral("14"), QStringLiteral("center"), QStringLiteral("center"),
                           QStringLiteral("thin,thin,thin,thin")}));
    // This reader shows only the outer edges of a merged area's cells.
    EXPECT_EQ(view->cells.value(QStringLiteral("G1")).value(6).split(u',').value(1),
              QStringLiteral("thin"));
    EXPECT_EQ(view->cells.value(QStringLiteral("A4")).value(0), u8("ИНН: "));
    EXPECT_EQ(view->cells.value(QStringLiteral("A10")).value(1), QStringLiteral("1"));
    const QStringList code = view->cells.value(QStringLiteral("A12"));
    EXPECT_EQ(code.value(0), QStringLiteral("1000"));
    EXPECT_EQ(code.value(4), QStringLiteral("right"));
    EXPECT_EQ(code.value(8), QStringLiteral("000080")) << "colour index 11";
    EXPECT_EQ(view->cells.value(QStringLiteral("E12")).value(8), QStringLiteral("0000ff"));
    const QStringList price = view->cells.value(QStringLiteral("F13"));
    EXPECT_EQ(price.value(0), QStringLiteral("13.5"));
    EXPECT_EQ(price.value(5), QStringLiteral("center"));
    EXPECT_EQ(price.value(7), QStringLiteral("0.00"));
    for (int row = 1; row <= 10; ++row) {
        EXPECT_TRUE(view->merges.contains(QStringLiteral("A%1:G%1").arg(row))) << row;
    }
    EXPECT_EQ(view->merges.size(), 10);
    // The file stores the width with the cell padding: 10 shown is 10.71 stored.
    const double widths[] = {10, 40, 40, 30, 12, 16, 17};
    for (int column = 1; column <= 7; ++column) {
        EXPECT_NEAR(view->widths.value(CellRange::columnName(column)),
                    ColumnWidthUnits::toFileWidth(widths[column - 1]), 0.005);
    }
}

TEST(XlsxRoundTrip, ReadsAWorkbookFromAnotherWriter)
{
    const QString python = pythonWithOpenpyxl();
    if (python.isEmpty()) {
        GTEST_SKIP() << "python3 with openpyxl is not installed";
    }
    testsupport::TempWorkFolder folder;
    const QString path = pathIn(folder, "foreign.xlsx");
    const QString script = QStringLiteral(
        "import sys, openpyxl\n"
        "from openpyxl.styles import Font, Alignment\n"
        "book = openpyxl.Workbook()\n"
        "sheet = book.active\n"
        "sheet.title = 'Orders'\n"
        "sheet['A1'] = 'x\\u0416'\n"
        "sheet['A1'].font = Font(name='Arial', bold=True, size=14, color='FF0000FF')\n"
        "sheet['B2'] = 2.5\n"
        "sheet['B2'].number_format = '0.00'\n"
        "sheet['B2'].alignment = Alignment(horizontal='right', vertical='center')\n"
        "sheet['C3'] = '=SUM(B2:B2)'\n"
        "sheet.merge_cells('A5:C6')\n"
        "sheet.column_dimensions['B'].width = 20.7109375\n"
        "book.create_sheet('Second')\n"
        "book.save(sys.argv[1])\n");
    ASSERT_TRUE(commandWorks(python, {QStringLiteral("-c"), script, path}));

    const Workbook read = XlsxReader::read(path);
    ASSERT_EQ(read.sheetCount(), 2);
    const Worksheet& sheet = read.sheet(0);
    EXPECT_EQ(sheet.name(), QStringLiteral("Orders"));
    EXPECT_EQ(read.sheet(1).name(), QStringLiteral("Second"));
    EXPECT_EQ(sheet.value(1, 1), CellValue::text(QString::fromUtf8("xЖ")));
    const Font& font = sheet.cellAt(1, 1)->format.font;
    EXPECT_TRUE(font.bold);
    EXPECT_DOUBLE_EQ(font.size, 14);
    EXPECT_EQ(font.colorIndex, 5);
    EXPECT_EQ(sheet.value(2, 2), CellValue::number(2.5));
    EXPECT_EQ(sheet.cellAt(2, 2)->format.numberFormat, QStringLiteral("0.00"));
    EXPECT_EQ(sheet.cellAt(2, 2)->format.alignment.horizontal, HorizontalAlignment::Right);
    EXPECT_EQ(sheet.cellAt(3, 3)->formula, QStringLiteral("=SUM(B2:B2)"));
    EXPECT_TRUE(sheet.value(3, 3).isEmpty()) << "no cached result in the file";
    EXPECT_EQ(sheet.merges().areas(), std::vector<CellRange>{*CellRange::parse(u"A5:C6")});
    EXPECT_DOUBLE_EQ(sheet.columnWidth(2), 20);
}

TEST(XlsxRoundTrip, DamagedFilesAreRejectedCleanly)
{
    testsupport::TempWorkFolder folder;
    const QString goodPath = pathIn(folder, "good.xlsx");
    XlsxWriter::write(makeOrderWorkbook(40), goodPath);
    const std::string goodBytes = testsupport::readFileBytes(folder.file("good.xlsx"));
    const auto readBytes = [&](const std::string& bytes) {
        testsupport::writeFileBytes(folder.file("bad.xlsx"), bytes);
        return XlsxReader::read(pathIn(folder, "bad.xlsx")).sheetCount();
    };
    EXPECT_THROW(readBytes(std::string()), FormatError);
    EXPECT_THROW(readBytes(std::string(5000, 'z')), FormatError);
    EXPECT_THROW(readBytes("PK\x03\x04 truncated"), FormatError);
    EXPECT_THROW(XlsxReader::read(pathIn(folder, "missing.xlsx")), FormatError);

    for (size_t length = 0; length < goodBytes.size(); length += goodBytes.size() / 23) {
        EXPECT_THROW(readBytes(goodBytes.substr(0, length)), FormatError) << length;
    }
    std::mt19937 random(11);
    for (int round = 0; round < 100; ++round) {
        std::string damaged = goodBytes;
        for (int flip = 0; flip < 6; ++flip) {
            damaged[random() % damaged.size()] = static_cast<char>(random());
        }
        try {
            readBytes(damaged);
        } catch (const FormatError& error) {
            EXPECT_FALSE(error.message().isEmpty());
        }
    }
}
