#include "WorkbookTestSupport.h"

#include "platform/automation/workbook/WorkbookFile.h"

#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <QDir>

#include <sys/wait.h>
#include <unistd.h>

using namespace platform::automation::workbook;
using namespace workbooktest;

namespace {

QString pathIn(const testsupport::TempWorkFolder& folder, const char* name)
{
    return QString::fromStdString(folder.file(name).string());
}

std::string headOf(const testsupport::TempWorkFolder& folder, const char* name)
{
    return testsupport::readFileBytes(folder.file(name)).substr(0, 2);
}

} // namespace

TEST(WorkbookFile, TheNameChoosesTheFormatAndTheContentIsOpened)
{
    testsupport::TempWorkFolder folder;
    const Workbook book = makeOrderWorkbook(2);
    QString error;
    ASSERT_TRUE(WorkbookFile::save(book, pathIn(folder, "order.xls"), &error))
        << error.toStdString();
    ASSERT_TRUE(WorkbookFile::save(book, pathIn(folder, "order.XLSX"), &error))
        << error.toStdString();
    ASSERT_TRUE(WorkbookFile::save(book, pathIn(folder, "order.dat"), &error))
        << error.toStdString();
    EXPECT_EQ(headOf(folder, "order.xls"), "\xD0\xCF");
    EXPECT_EQ(headOf(folder, "order.XLSX"), "PK");
    EXPECT_EQ(headOf(folder, "order.dat"), "\xD0\xCF")
        << "anything but .xlsx is the binary workbook";

    // A file whose name does not match its content still opens.
    ASSERT_TRUE(QFile::rename(pathIn(folder, "order.XLSX"), pathIn(folder, "really-xlsx.xls")));
    for (const char* name : {"order.xls", "really-xlsx.xls", "order.dat"}) {
        const std::optional<Workbook> read = WorkbookFile::open(pathIn(folder, name), &error);
        ASSERT_TRUE(read) << name << ": " << error.toStdString();
        expectSameWorkbook(book, *read);
    }
}

TEST(WorkbookFile, AnEmptyBasketGivesTheHeadRowsOnly)
{
    testsupport::TempWorkFolder folder;
    const Workbook book = makeOrderWorkbook(0);
    for (const char* name : {"empty.xls", "empty.xlsx"}) {
        ASSERT_TRUE(WorkbookFile::save(book, pathIn(folder, name)));
        const std::optional<Workbook> read = WorkbookFile::open(pathIn(folder, name));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->sheet(0).usedRange(), (CellRange{1, 1, 11, 7})) << name;
    }
}

TEST(WorkbookFile, AFailedSaveKeepsTheExistingFile)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("order.xls"), "previous");
    testsupport::writeFileBytes(folder.file("order.xlsx"), "previous");
    Workbook tooTall;
    tooTall.addSheet().setValue(70000, 1, CellValue::number(1));
    QString error;
    EXPECT_FALSE(WorkbookFile::save(tooTall, pathIn(folder, "order.xls"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("65536"))) << error.toStdString();
    EXPECT_EQ(testsupport::readFileBytes(folder.file("order.xls")), "previous");

    error.clear();
    EXPECT_FALSE(WorkbookFile::save(Workbook(), pathIn(folder, "order.xlsx"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(testsupport::readFileBytes(folder.file("order.xlsx")), "previous");
    EXPECT_EQ(QDir(pathIn(folder, "")).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "no temporary file left behind";

    error.clear();
    EXPECT_FALSE(
        WorkbookFile::save(makeOrderWorkbook(1), pathIn(folder, "no/such/folder.xlsx"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(
        WorkbookFile::save(makeOrderWorkbook(1), pathIn(folder, "no/such/folder.xls"), &error));
}

TEST(WorkbookFile, FilesThatAreNoWorkbookGiveAReason)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("empty.xls"), "");
    testsupport::writeFileBytes(folder.file("text.xls"), "Код;Обозначение\r\n1;2\r\n");
    testsupport::writeFileBytes(folder.file("zip.xlsx"),
                                std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    for (const char* name : {"missing.xls", "empty.xls", "text.xls", "zip.xlsx"}) {
        QString error;
        EXPECT_FALSE(WorkbookFile::open(pathIn(folder, name), &error)) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
    }
}

// Speed is measured by the benchmarks; here a large order only has to come back whole.
TEST(WorkbookFile, AThousandLineOrderRoundTrips)
{
    testsupport::TempWorkFolder folder;
    const Workbook book = makeOrderWorkbook(1000);
    for (const char* name : {"big.xls", "big.xlsx"}) {
        ASSERT_TRUE(WorkbookFile::save(book, pathIn(folder, name)));
        const std::optional<Workbook> read = WorkbookFile::open(pathIn(folder, name));
        ASSERT_TRUE(read) << name;
        EXPECT_EQ(read->sheet(0).value(1011, 7), book.sheet(0).value(1011, 7)) << name;
    }
}

TEST(WorkbookFile, AnOfficeSuiteConvertsBothFormats)
{
    if (!commandWorks(QStringLiteral("libreoffice"), {QStringLiteral("--version")})) {
        GTEST_SKIP() << "libreoffice is not installed";
    }
    testsupport::TempWorkFolder folder;
    const Workbook book = makeOrderWorkbook(3);
    ASSERT_TRUE(WorkbookFile::save(book, pathIn(folder, "from-xls.xls")));
    ASSERT_TRUE(WorkbookFile::save(book, pathIn(folder, "from-xlsx.xlsx")));
    const QString outFolder = pathIn(folder, "converted");
    // Each format converted to the other one, then read back with our readers.
    ASSERT_TRUE(commandWorks(QStringLiteral("libreoffice"),
                             {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                              QStringLiteral("xlsx"), QStringLiteral("--outdir"), outFolder,
                              pathIn(folder, "from-xls.xls")}));
    ASSERT_TRUE(commandWorks(QStringLiteral("libreoffice"),
                             {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                              QStringLiteral("xls"), QStringLiteral("--outdir"), outFolder,
                              pathIn(folder, "from-xlsx.xlsx")}));
    for (const char* name : {"converted/from-xls.xlsx", "converted/from-xlsx.xls"}) {
        QString error;
        const std::optional<Workbook> read = WorkbookFile::open(pathIn(folder, name), &error);
        ASSERT_TRUE(read) << name << ": " << error.toStdString();
        const Worksheet& sheet = read->sheet(0);
        EXPECT_EQ(sheet.value(1, 1), CellValue::text(u8("ЗАКАЗ"))) << name;
        EXPECT_EQ(sheet.value(13, 6), CellValue::number(13.5)) << name;
        EXPECT_EQ(sheet.cellAt(13, 6)->format.numberFormat, QStringLiteral("0.00")) << name;
        EXPECT_TRUE(sheet.cellAt(1, 1)->format.font.bold) << name;
        EXPECT_EQ(sheet.merges().areaAt(1, 4), (CellRange{1, 1, 1, 7})) << name;
        // The suite writes neighbours of one width (B and C) as one column range.
        for (int column = 1; column <= 7; ++column) {
            EXPECT_NEAR(sheet.columnWidth(column), book.sheet(0).columnWidth(column), 0.2)
                << name << " column " << column;
        }
    }
}

// A save the binary format cannot hold fails before anything is written: the old file stays.
TEST(WorkbookFileReplace, AFailedSaveLeavesThePreviousFileByteForByte)
{
    testsupport::TempWorkFolder folder;
    for (const char* name : {"order.xls", "order.xlsx"}) {
        const QString path = QString::fromStdString(folder.file(name).string());
        testsupport::writeFileBytes(folder.file(name), "the previous order");
        Workbook book;
        Worksheet& sheet = book.addSheet();
        sheet.setValue(70000, 1, CellValue::number(1));   // past the binary format's rows
        sheet.setValue(1, 20000, CellValue::number(1));   // past both formats' columns
        QString error;
        EXPECT_FALSE(WorkbookFile::save(book, path, &error)) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
        EXPECT_EQ(testsupport::readFileBytes(folder.file(name)), "the previous order") << name;
        const QStringList left = QDir(QString::fromStdString(folder.path().string()))
                                     .entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(left.size(), 1) << left.join(u' ').toStdString() << ": nothing left beside it";
        QFile::remove(path);
    }
}

// The hidden file a save writes first is named with the saving process's id: what a killed
// save left (the process gone) is removed by the next save into the folder, of either format.
TEST(WorkbookFileReplace, TheNextSaveRemovesWhatAKilledOneLeftBesideIt)
{
    testsupport::TempWorkFolder folder;
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    const std::string ended = std::to_string(child);
    for (const char* name : {"order.xls", "order.xlsx"}) {
        const std::string leftover = std::string(".") + name + ".new-" + ended;
        testsupport::writeFileBytes(folder.file(leftover), std::string(800000, 'x'));
        testsupport::writeFileBytes(folder.file("other.xls.new-" + ended), "x");
        Workbook book;
        book.addSheet().setValue(1, 1, CellValue::number(1));
        QString error;
        EXPECT_TRUE(WorkbookFile::save(book, pathIn(folder, name), &error)) << name;
        const QStringList left = QDir(QString::fromStdString(folder.path().string()))
                                     .entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(left, QStringList{QString::fromLatin1(name)})
            << name << ": " << left.join(u' ').toStdString();
        QFile::remove(pathIn(folder, name));
    }
}
