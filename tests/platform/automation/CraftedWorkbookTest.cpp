#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/WorkbookFile.h"
#include "platform/automation/workbook/ZipArchiveReader.h"

#include "tests/platform/automation/ChildCost.h"
#include "tests/platform/automation/CraftedWorkbooks.h"
#include "tests/support/TempWorkFolder.h"

#include <QFileInfo>

#include <gtest/gtest.h>
#include "platform/text/RealText.h"

using namespace platform::automation::workbook;

namespace {

constexpr double kSecondsAllowed = 2.0;
constexpr double kMegabytesAllowed = 200.0;
// The budget holds for an optimised build; sanitizers and unoptimised code cost several times
// as much and only show that the reading ends.
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
constexpr bool kBudgetApplies = true;
#else
constexpr bool kBudgetApplies = false;
#endif

// Packages of a few kilobytes that unpack to millions of elements. Each is opened in a child
// process, which shows its time and peak memory: a reader that builds what a package declares
// rather than what it holds takes minutes and gigabytes here.
class CraftedWorkbook : public ::testing::Test
{
protected:
    QString path(const char* name) const
    {
        return QString::fromStdString(m_folder.file(name).string());
    }

    // Opens the file in a child: exit 0 when it opened and check (given the workbook) holds,
    // 1 when it was refused with a message saying it is too large, 2 otherwise.
    static childcost::Cost open(const QString& file,
                                const std::function<bool(const Workbook&)>& check = {})
    {
        return childcost::measure(
            [&] {
                QString error;
                const std::optional<Workbook> book = WorkbookFile::open(file, &error);
                if (!book)
                    return error.contains(QStringLiteral("too large")) ? 1 : 2;
                return !check || check(*book) ? 0 : 2;
            },
            30);
    }

    static void expectCheap(const childcost::Cost& cost, int exitCode)
    {
        std::printf("%s s of processor time (%s s passed), %s MB\n",
                    platform::text::realFixedText(cost.cpuSeconds, 2).c_str(),
                    platform::text::realFixedText(cost.seconds, 2).c_str(),
                    platform::text::realFixedText(cost.peakMegabytes, 0).c_str());
        EXPECT_TRUE(cost.finished) << "still reading after " << cost.seconds << " s";
        EXPECT_EQ(cost.exitCode, exitCode);
        if (kBudgetApplies) {
            EXPECT_LT(cost.cpuSeconds, kSecondsAllowed);
            EXPECT_LT(cost.peakMegabytes, kMegabytesAllowed);
        }
    }

    testsupport::TempWorkFolder m_folder;
};

} // namespace

// Column elements that each span the whole width of the sheet.
TEST_F(CraftedWorkbook, ThousandsOfWholeWidthColumnRangesOpenAtOnce)
{
    const QByteArray column =
        "<col min=\"1\" max=\"16384\" width=\"20.7109375\" customWidth=\"1\"/>";
    ASSERT_TRUE(craftedworkbooks::writeWorkbook(path("cols.xlsx"), "<cols>", column, 300000,
                                                "<col min=\"3\" max=\"3\" width=\"5.7109375\"/>"
                                                "</cols><sheetData/>"));
    std::printf("columns: %lld bytes\n",
                static_cast<long long>(QFileInfo(path("cols.xlsx")).size()));
    expectCheap(open(path("cols.xlsx"),
                     [](const Workbook& book) {
                         const Worksheet& sheet = book.sheet(0);
                         return sheet.columnWidth(1) == 20 && sheet.columnWidth(3) == 5 &&
                                sheet.columnWidth(16384) == 20 && sheet.cells().empty();
                     }),
                0);
}

// Empty cells carry nothing and are not kept; a sheet declaring the whole grid allocates none.
TEST_F(CraftedWorkbook, MillionsOfEmptyCellsOpenAsAnEmptySheet)
{
    QByteArray row = "<row>";
    for (int column = 0; column < 16384; ++column)
        row += "<c/>";
    row += "</row>";
    ASSERT_TRUE(craftedworkbooks::writeWorkbook(
        path("empty.xlsx"), "<dimension ref=\"A1:XFD1048576\"/><sheetData>", row, 200,
        "<row r=\"1048576\"><c r=\"XFD1048576\" t=\"inlineStr\"><is><t>end</t></is></c></row>"
        "</sheetData>"));
    std::printf("empty cells: %lld bytes\n",
                static_cast<long long>(QFileInfo(path("empty.xlsx")).size()));
    expectCheap(open(path("empty.xlsx"),
                     [](const Workbook& book) {
                         const Worksheet& sheet = book.sheet(0);
                         return sheet.cells().size() == 1 &&
                                sheet.value(1048576, 16384).textValue() == u"end";
                     }),
                0);
}

TEST_F(CraftedWorkbook, MoreCellsOrTextsThanTheLimitAreRefusedWithoutReadingThem)
{
    ASSERT_TRUE(craftedworkbooks::writeWorkbook(path("cells.xlsx"), "<sheetData><row>", "<c/>",
                                                10'500'000, "</row></sheetData>"));
    std::printf("too many cells: %lld bytes\n",
                static_cast<long long>(QFileInfo(path("cells.xlsx")).size()));
    expectCheap(open(path("cells.xlsx")), 1);

    ASSERT_TRUE(craftedworkbooks::writeWorkbook(
        path("texts.xlsx"), "<sheetData><row><c t=\"s\"><v>0</v></c></row></sheetData>", "", 0, "",
        [](const auto& write) {
            write("<?xml version=\"1.0\"?><sst "
                  "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
            craftedworkbooks::writeRepeated(write, "<si/>", 10'500'000);
            write("</sst>");
        }));
    std::printf("too many texts: %lld bytes\n",
                static_cast<long long>(QFileInfo(path("texts.xlsx")).size()));
    expectCheap(open(path("texts.xlsx")), 1);
}

// The unpacked budget covers the whole package; reading one part again costs nothing more.
TEST_F(CraftedWorkbook, UnpackedBytesCountOncePerPartAgainstOneBudget)
{
    const QString file = path("parts.zip");
    zipFile archive = zipOpen64(QFile::encodeName(file).constData(), APPEND_STATUS_CREATE);
    ASSERT_NE(archive, nullptr);
    const auto blanks = [](int megabytes) {
        return [megabytes](const auto& write) {
            craftedworkbooks::writeRepeated(write, QByteArray(1024, ' '), 1024LL * megabytes);
        };
    };
    ASSERT_TRUE(craftedworkbooks::addPart(archive, "three.xml", blanks(3)));
    ASSERT_TRUE(craftedworkbooks::addPart(archive, "two.xml", blanks(2)));
    ASSERT_EQ(zipClose(archive, nullptr), ZIP_OK);

    ZipArchiveReader reader(file, 4 * 1024 * 1024);
    int64_t seen = 0;
    const auto count = [&](std::string_view chunk) { seen += static_cast<int64_t>(chunk.size()); };
    EXPECT_TRUE(reader.streamEntry(QStringLiteral("three.xml"), count));
    EXPECT_TRUE(reader.streamEntry(QStringLiteral("three.xml"), count));
    EXPECT_EQ(seen, 6 * 1024 * 1024);
    EXPECT_FALSE(reader.streamEntry(QStringLiteral("absent.xml"), count));
    try {
        reader.streamEntry(QStringLiteral("two.xml"), count);
        ADD_FAILURE() << "five megabytes passed a budget of four";
    } catch (const FormatError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("too large")))
            << error.message().toStdString();
    }
}
