#include "WorkbookTestSupport.h"

#include "platform/automation/workbook/CompoundFileReader.h"
#include "platform/automation/workbook/CompoundFileWriter.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsReader.h"
#include "platform/automation/workbook/XlsWriter.h"

#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <random>

using namespace platform::automation::workbook;
using namespace workbooktest;

namespace {

QString writeFile(const testsupport::TempWorkFolder& folder, const char* name,
                  const QByteArray& bytes)
{
    const QString path = QString::fromStdString(folder.file(name).string());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace

TEST(XlsRoundTrip, OrderSheetReadsBackUnchanged)
{
    const Workbook book = makeOrderWorkbook(5);
    const Workbook read = XlsReader::read(XlsWriter::write(book));
    expectSameWorkbook(book, read);

    const Worksheet& sheet = read.sheet(0);
    EXPECT_EQ(sheet.value(1, 1), CellValue::text(u8("ЗАКАЗ")));
    EXPECT_EQ(sheet.value(4, 1), CellValue::text(u8("ИНН: ")));
    EXPECT_EQ(sheet.value(12, 1), CellValue::number(1000));
    EXPECT_EQ(sheet.value(12, 2).textValue().size(), 50) << "trailing blanks kept";
    EXPECT_EQ(sheet.value(12, 6), CellValue::number(12.5));
    EXPECT_EQ(sheet.cellAt(12, 6)->format.numberFormat, QStringLiteral("0.00"));
    EXPECT_EQ(sheet.cellAt(12, 1)->format.font.colorIndex, 11);
    EXPECT_EQ(sheet.cellAt(12, 5)->format.font.colorIndex, 5);
    EXPECT_EQ(sheet.cellAt(1, 7)->format.borders.edge(Edge::Right), thinLine());
    EXPECT_DOUBLE_EQ(sheet.columnWidth(2), 40);
}

TEST(XlsRoundTrip, ValuesOfEveryKindAndStoredForm)
{
    Workbook book;
    Worksheet& sheet = book.addSheet(u8("Лист с данными"));
    const double numbers[] = {0,     1,   -1,    536870911, 536870912,        -536870912, 12.5,
                              -0.01, 0.1, 1e300, -2.5e-300, 3.14159265358979, 1234567.89, 0.5};
    int row = 1;
    for (double number : numbers) {
        sheet.setValue(row++, 1, CellValue::number(number));
    }
    sheet.setValue(row++, 1, CellValue::boolean(true));
    sheet.setValue(row++, 1, CellValue::boolean(false));
    sheet.setFormula(row++, 1, QStringLiteral("=\"text\""));
    sheet.setValue(row++, 1, CellValue::text(QStringLiteral("Latin-1 \u00e9\u00ff")));
    sheet.cell(row++, 3).format.fillColorIndex = 6; // an empty, formatted cell
    sheet.cell(row, 256).format.font.underline = Underline::Double;
    addBorderSamples(sheet, 1);
    sheet.setRowHeight(2, 30);
    sheet.setRowHeight(3, 0);
    sheet.setColumnWidth(3, 0);
    book.addSheet();
    book.setActiveSheetIndex(1);

    const Workbook read = XlsReader::read(XlsWriter::write(book));
    // A formula's text is not stored in this format; its value is.
    sheet.cell(17, 1).formula.clear();
    expectSameWorkbook(book, read);
    EXPECT_EQ(read.activeSheetIndex(), 1);
}

TEST(XlsRoundTrip, SharedStringsSpanContinueRecords)
{
    Workbook book;
    Worksheet& sheet = book.addSheet();
    // Long Cyrillic texts cross the 8224-byte record limit mid-text; short 8-bit ones fill
    // records up to the boundary.
    for (int row = 1; row <= 400; ++row) {
        QString text = row % 3 == 0 ? QString(row * 13 % 9000 + 1, QChar(0x0416))
                                    : QStringLiteral("line %1 ").arg(row).repeated(row % 50 + 1);
        sheet.setValue(row, 1, CellValue::text(text));
        sheet.setValue(row, 2, CellValue::text(text)); // repeated: one shared entry
    }
    sheet.setValue(401, 1, CellValue::text(QString(40000, u'x')));
    const Workbook read = XlsReader::read(XlsWriter::write(book));
    sheet.setValue(401, 1, CellValue::text(QString(32767, u'x'))); // the format's longest text
    expectSameWorkbook(book, read);
}

TEST(XlsRoundTrip, AnEmbeddedChartInsideASheetIsSkipped)
{
    const Workbook book = makeOrderWorkbook(2);
    QByteArray stream =
        *CompoundFileReader(XlsWriter::write(book)).stream(QStringLiteral("Workbook"));
    // After the sheet's own BOF: a chart substream whose number must not land in the sheet.
    const QByteArray sheetBof = QByteArray::fromHex("0908100000061000");
    const qsizetype at = stream.lastIndexOf(sheetBof);
    ASSERT_GT(at, 0);
    const QByteArray chart = QByteArray::fromHex("09081000"
                                                 "00062000BB0DCC070000000006000000"
                                                 "03020E00"
                                                 "00000000"
                                                 "0F00"
                                                 "000000000000F03F"
                                                 "0A000000");
    stream.insert(at + 20, chart);
    CompoundFileWriter file;
    file.addStream(QStringLiteral("Workbook"), stream);
    const Workbook read = XlsReader::read(file.build());
    expectSameWorkbook(book, read);
}

TEST(XlsRoundTrip, SheetsBeyondTheFormatLimitsAreRefused)
{
    Workbook tall;
    tall.addSheet().setValue(65537, 1, CellValue::number(1));
    EXPECT_THROW(XlsWriter::write(tall), FormatError);
    Workbook wide;
    wide.addSheet().setValue(1, 257, CellValue::number(1));
    EXPECT_THROW(XlsWriter::write(wide), FormatError);
    EXPECT_THROW(XlsWriter::write(Workbook()), FormatError);
    Workbook manyFonts;
    Worksheet& sheet = manyFonts.addSheet();
    for (int row = 1; row <= 600; ++row) {
        sheet.cell(row, 1).format.font.size = 6 + row * 0.5;
    }
    EXPECT_THROW(XlsWriter::write(manyFonts), FormatError);
    Workbook fewFonts;
    for (int row = 1; row <= 600; ++row) {
        fewFonts.addSheet().cell(1, 1).format.font.size = 6 + row % 100;
    }
    EXPECT_NO_THROW(XlsWriter::write(fewFonts));
}

TEST(XlsRoundTrip, IndependentReaderSeesValuesAndFormats)
{
    if (!commandWorks(QStringLiteral("perl"),
                      {QStringLiteral("-MSpreadsheet::ParseExcel"), QStringLiteral("-e1")})) {
        GTEST_SKIP() << "perl with Spreadsheet::ParseExcel is not installed";
    }
    testsupport::TempWorkFolder folder;
    const QString path = writeFile(folder, "order.xls", XlsWriter::write(makeOrderWorkbook(3)));
    QString why;
    const std::optional<ExternalView> view =
        runExternalReader(QStringLiteral("perl"), {testData("read_xls.pl"), path}, &why);
    ASSERT_TRUE(view) << why.toStdString();

    // value, bold, italic, size, horizontal, vertical, borders, number format, colour
    EXPECT_EQ(view->cells.value(QStringLiteral("A1")).mid(0, 7),
              (QStringList{u8("ЗАКАЗ"), QStringLiteral("1"), QStringLiteral("1"),
                           QStringLiteral("14"), QStringLiteral("center"), QStringLiteral("center"),
                           QStringLiteral("thin,thin,thin,thin")}));
    EXPECT_EQ(view->cells.value(QStringLiteral("A2")).value(0), u8("Заказчик: ООО «Ромашка»"));
    EXPECT_EQ(view->cells.value(QStringLiteral("A2")).value(3), QStringLiteral("12"));
    EXPECT_EQ(view->cells.value(QStringLiteral("A10")).value(1), QStringLiteral("1"));
    EXPECT_EQ(view->cells.value(QStringLiteral("C11")).mid(0, 5),
              (QStringList{u8("Наименование"), QStringLiteral("1"), QStringLiteral("1"),
                           QStringLiteral("12"), QStringLiteral("center")}));
    const QStringList code = view->cells.value(QStringLiteral("A12"));
    EXPECT_EQ(code.value(0), QStringLiteral("1000"));
    EXPECT_EQ(code.value(1), QStringLiteral("1"));
    EXPECT_EQ(code.value(4), QStringLiteral("right"));
    EXPECT_EQ(code.value(8), QStringLiteral("000080")) << "colour index 11";
    EXPECT_EQ(view->cells.value(QStringLiteral("E13")).value(8), QStringLiteral("0000ff"));
    EXPECT_EQ(view->cells.value(QStringLiteral("E13")).value(0), QStringLiteral("2"));
    const QStringList price = view->cells.value(QStringLiteral("F12"));
    EXPECT_EQ(price.value(0), QStringLiteral("12.5"));
    EXPECT_EQ(price.value(5), QStringLiteral("center"));
    EXPECT_EQ(price.value(6), QStringLiteral("thin,thin,thin,thin"));
    EXPECT_EQ(price.value(7), QStringLiteral("0.00"));
    for (int row = 1; row <= 10; ++row) {
        EXPECT_TRUE(view->merges.contains(QStringLiteral("A%1:G%1").arg(row))) << row;
    }
    EXPECT_EQ(view->merges.size(), 10);
    const double widths[] = {10, 40, 40, 30, 12, 16, 17};
    for (int column = 1; column <= 7; ++column) {
        EXPECT_DOUBLE_EQ(view->widths.value(CellRange::columnName(column)), widths[column - 1]);
    }
}

TEST(XlsRoundTrip, DamagedFilesAreRejectedCleanly)
{
    const QByteArray good = XlsWriter::write(makeOrderWorkbook(40));
    const auto read = [](const QByteArray& bytes) { return XlsReader::read(bytes).sheetCount(); };
    EXPECT_THROW(read(QByteArray()), FormatError);
    EXPECT_THROW(read(QByteArray(10000, '\0')), FormatError);
    EXPECT_THROW(read(QByteArray("PK\x03\x04 not a binary workbook")), FormatError);
    // A password-protected Open XML workbook is a compound file too.
    CompoundFileWriter encrypted;
    encrypted.addStream(QStringLiteral("EncryptionInfo"), QByteArray(100, '\1'));
    encrypted.addStream(QStringLiteral("EncryptedPackage"), QByteArray(5000, '\2'));
    try {
        read(encrypted.build());
        ADD_FAILURE() << "an encrypted package was read";
    } catch (const FormatError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("password")));
    }

    for (qsizetype length = 0; length < good.size(); length += 211) {
        try {
            read(good.left(length));
        } catch (const FormatError&) {
        }
    }
    std::mt19937 random(7);
    int rejected = 0;
    for (int round = 0; round < 500; ++round) {
        QByteArray damaged = good;
        for (int flip = 0; flip < 16; ++flip) {
            const auto at =
                static_cast<qsizetype>(512 + random() % static_cast<uint32_t>(good.size() - 512));
            damaged[at] = static_cast<char>(random());
        }
        try {
            read(damaged);
        } catch (const FormatError& error) {
            EXPECT_FALSE(error.message().isEmpty());
            ++rejected;
        }
    }
    EXPECT_GT(rejected, 0);
}
