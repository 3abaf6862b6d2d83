#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/XlsxReader.h"

#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <zip.h>

#include <QFile>

using namespace platform::automation::workbook;

namespace {

// Writes a zip package with the given parts, as another program might lay it out.
void writePackage(const QString& path, const QList<QPair<const char*, QByteArray>>& parts)
{
    zipFile archive = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, data] : parts) {
        zip_fileinfo info{};
        ASSERT_EQ(zipOpenNewFileInZip(archive, name, &info, nullptr, 0, nullptr, 0, nullptr,
                                      Z_DEFLATED, Z_DEFAULT_COMPRESSION),
                  ZIP_OK);
        zipWriteInFileInZip(archive, data.constData(), static_cast<unsigned>(data.size()));
        zipCloseFileInZip(archive);
    }
    zipClose(archive, nullptr);
}

const QByteArray kRootRels =
    "<?xml version=\"1.0\"?><Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"r1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"book/main.xml\"/>"
    "</Relationships>";
const QByteArray kBookRels =
    "<?xml version=\"1.0\"?><Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId7\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"../pages/one.xml\"/>"
    "<Relationship Id=\"rId8\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
    "Target=\"/pages/two.xml\"/>"
    "<Relationship Id=\"rId9\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
    "Target=\"texts.xml\"/>"
    "</Relationships>";
const QByteArray kBook =
    "<?xml version=\"1.0\"?><x:workbook "
    "xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:rel=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<x:bookViews><x:workbookView activeTab=\"1\"/></x:bookViews><x:sheets>"
    "<x:sheet name=\"First\" sheetId=\"1\" rel:id=\"rId7\"/><x:sheet name=\"Second\" sheetId=\"2\" "
    "rel:id=\"rId8\"/>"
    "</x:sheets></x:workbook>";
const QByteArray kTexts = "<?xml version=\"1.0\"?><sst "
                          "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                          "<si><r><t>Hel</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">lo "
                          "</t></r><rPh><t>PHONETIC</t></rPh></si>"
                          "<si><t>a_x000D_b</t></si></sst>";
const QByteArray kFirst =
    "<?xml version=\"1.0\"?><worksheet "
    "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<cols><col min=\"2\" max=\"3\" width=\"20.7109375\" customWidth=\"1\"/><col min=\"5\" "
    "max=\"5\" hidden=\"1\"/></cols>"
    "<sheetData>"
    "<row><c t=\"s\"><v>0</v></c><c t=\"s\"><v>1</v></c><c "
    "t=\"inlineStr\"><is><t>inline</t></is></c></row>"
    "<row ht=\"25.5\" customHeight=\"1\"><c><v>1.5E-3</v></c><c t=\"b\"><v>1</v></c><c "
    "t=\"e\"><v>#DIV/0!</v></c></row>"
    "<row r=\"5\" ht=\"30\"><c r=\"D5\"><f t=\"shared\" si=\"0\"/><v>42</v></c><c "
    "t=\"str\"><f>\"x\"&amp;\"y\"</f><v>xy</v></c></row>"
    "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A7:B8\"/></mergeCells></worksheet>";
const QByteArray kSecond = "<?xml version=\"1.0\"?><worksheet "
                           "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                           "<sheetData/></worksheet>";

} // namespace

TEST(XlsxForeignPackage, PartsWhereverTheRelationshipsPutThem)
{
    testsupport::TempWorkFolder folder;
    const QString path = QString::fromStdString(folder.file("foreign.xlsx").string());
    writePackage(path, {{"_rels/.rels", kRootRels},
                        {"book/_rels/main.xml.rels", kBookRels},
                        {"book/main.xml", kBook},
                        {"book/texts.xml", kTexts},
                        {"pages/one.xml", kFirst},
                        {"pages/two.xml", kSecond}});
    const Workbook book = XlsxReader::read(path);
    ASSERT_EQ(book.sheetCount(), 2);
    EXPECT_EQ(book.activeSheetIndex(), 1);
    const Worksheet& sheet = book.sheet(0);
    EXPECT_EQ(sheet.name(), QStringLiteral("First"));
    EXPECT_EQ(sheet.value(1, 1), CellValue::text(QStringLiteral("Hello ")))
        << "runs joined, phonetic left out";
    EXPECT_EQ(sheet.value(1, 2), CellValue::text(QStringLiteral("a\rb")));
    EXPECT_EQ(sheet.value(1, 3), CellValue::text(QStringLiteral("inline")));
    EXPECT_EQ(sheet.value(2, 1), CellValue::number(0.0015));
    EXPECT_EQ(sheet.value(2, 2), CellValue::boolean(true));
    EXPECT_EQ(sheet.value(2, 3), CellValue::text(QStringLiteral("#DIV/0!")));
    EXPECT_EQ(sheet.rowHeight(2), 25.5);
    EXPECT_FALSE(sheet.rowHeight(5)) << "a height the fonts gave is not the user's";
    EXPECT_EQ(sheet.value(5, 4), CellValue::number(42));
    EXPECT_TRUE(sheet.cellAt(5, 4)->formula.isEmpty()) << "a shared formula's follower has no text";
    EXPECT_EQ(sheet.value(5, 5), CellValue::text(QStringLiteral("xy")));
    EXPECT_EQ(sheet.cellAt(5, 5)->formula, QStringLiteral("=\"x\"&\"y\""));
    EXPECT_DOUBLE_EQ(sheet.columnWidth(3), 20);
    EXPECT_DOUBLE_EQ(sheet.columnWidth(5), 0);
    EXPECT_EQ(sheet.merges().areaAt(8, 2), (CellRange{7, 1, 8, 2}));
    EXPECT_TRUE(book.sheet(1).cells().empty());
}

TEST(XlsxForeignPackage, BrokenPartsAreReported)
{
    testsupport::TempWorkFolder folder;
    const QString path = QString::fromStdString(folder.file("broken.xlsx").string());
    const auto expectError = [&](const QList<QPair<const char*, QByteArray>>& parts,
                                 const char* what) {
        QFile::remove(path);
        writePackage(path, parts);
        EXPECT_THROW(XlsxReader::read(path), FormatError) << what;
    };
    expectError({{"_rels/.rels", kRootRels}}, "no workbook part");
    expectError({{"_rels/.rels", kRootRels}, {"book/main.xml", kBook}}, "no sheet relationships");
    expectError({{"_rels/.rels", kRootRels},
                 {"book/_rels/main.xml.rels", kBookRels},
                 {"book/main.xml", kBook},
                 {"book/texts.xml", kTexts}},
                "sheet parts missing");
    QByteArray unclosed = kFirst;
    unclosed.chop(20);
    expectError({{"_rels/.rels", kRootRels},
                 {"book/_rels/main.xml.rels", kBookRels},
                 {"book/main.xml", kBook},
                 {"book/texts.xml", kTexts},
                 {"pages/one.xml", unclosed},
                 {"pages/two.xml", kSecond}},
                "unclosed sheet XML");
    QByteArray badIndex = kFirst;
    badIndex.replace("<v>1</v></c><c t=\"inlineStr\"", "<v>9</v></c><c t=\"inlineStr\"");
    expectError({{"_rels/.rels", kRootRels},
                 {"book/_rels/main.xml.rels", kBookRels},
                 {"book/main.xml", kBook},
                 {"book/texts.xml", kTexts},
                 {"pages/one.xml", badIndex},
                 {"pages/two.xml", kSecond}},
                "a shared string that does not exist");
}
