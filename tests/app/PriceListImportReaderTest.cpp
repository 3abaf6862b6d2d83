#include "app/ipmprice/PriceListImportReader.h"
#include "app/ipmprice/PriceListLineAssembler.h"
#include "platform/storage/ByteFile.h"
#include "tests/support/RefusedThreads.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

using namespace app;

struct Seen
{
    bool blank;
    int32_t code;
    std::string name;
    std::string group;
    bool operator==(const Seen&) const = default;
};

// Lines of every length up to beyond the kept 500 bytes, blank and empty ones, CR LF and LF
// ends, so that lines straddle the reads and the batches; the last line has no LF.
std::string mixedText()
{
    std::string text;
    for (int i = 0; i < 12000; ++i) {
        if (i % 97 == 0)
            text += i % 2 ? "\n" : "   \r\n";
        text += std::to_string(i) + ";D;Name" + std::to_string(i) + ";;1;2.5;M;;;" +
                std::string(static_cast<std::size_t>(i % 640), 'g') + (i % 3 ? "\n" : "\r\n");
    }
    return text + "99;unended";
}

std::vector<Seen> readSerially(const std::string& text)
{
    std::vector<Seen> seen;
    PriceListLineAssembler assembler;
    for (const char c : text) {
        if (!assembler.take(static_cast<uint8_t>(c)))
            continue;
        const auto line = PriceListTextLine::parse(assembler.line());
        seen.push_back(line ? Seen{false, line->code, line->name, line->group}
                            : Seen{true, 0, {}, {}});
    }
    return seen;
}

class PriceListImportReaderTest : public ::testing::Test
{
protected:
    // The lines the reader hands over, its code and its byte count.
    std::vector<Seen> readAll(const std::string& text, int& code, int64_t& bytes)
    {
        testsupport::writeFileBytes(m_folder.file("p.txt"), text);
        platform::storage::ByteFile file(1);
        file.setDiskName("p.txt");
        EXPECT_EQ(file.open(0x20), 0);
        file.setToStart();
        std::vector<Seen> seen;
        {
            PriceListImportReader reader(file);
            PriceListImportReader::Batch batch;
            while (reader.next(batch))
                for (std::size_t i = 0; i < batch.count; ++i) {
                    const auto& line = batch.lines[i];
                    seen.push_back(line.blank ? Seen{true, 0, {}, {}}
                                              : Seen{false, line.fields.code, line.fields.name,
                                                     line.fields.group});
                }
            code = reader.code();
            bytes = reader.bytes();
        }
        file.close();
        return seen;
    }

    testsupport::TempWorkFolder m_folder;
};

TEST_F(PriceListImportReaderTest, HandsOverTheLinesOfASerialReadingInOrder)
{
    const std::string text = mixedText();
    int code = -1;
    int64_t bytes = 0;
    const std::vector<Seen> seen = readAll(text, code, bytes);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(bytes, static_cast<int64_t>(text.size()));
    ASSERT_EQ(seen.size(), readSerially(text).size());
    EXPECT_TRUE(seen == readSerially(text));

    // When the system gives no thread, the caller reads the same lines itself.
    const testsupport::RefusedThreads refused;
    code = -1;
    bytes = 0;
    EXPECT_TRUE(readAll(text, code, bytes) == seen);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(bytes, static_cast<int64_t>(text.size()));
}

TEST_F(PriceListImportReaderTest, AReadErrorEndsTheLinesWithItsCode)
{
    const std::string text = mixedText();
    platform::storage::ByteFile::failReadsFrom(600000, EIO);
    int code = 0;
    int64_t bytes = 0;
    const std::vector<Seen> seen = readAll(text, code, bytes);
    platform::storage::ByteFile::failReadsFrom(-1, 0);
    EXPECT_EQ(code, 23);
    EXPECT_LE(bytes, 600000);
    EXPECT_LT(seen.size(), readSerially(text).size());
}

// A reader dropped before its last line (a failed write ends the load) stops its thread.
TEST_F(PriceListImportReaderTest, AReaderLeftEarlyStops)
{
    testsupport::writeFileBytes(m_folder.file("p.txt"), mixedText());
    platform::storage::ByteFile file(1);
    file.setDiskName("p.txt");
    ASSERT_EQ(file.open(0x20), 0);
    file.setToStart();
    {
        PriceListImportReader reader(file);
        PriceListImportReader::Batch batch;
        ASSERT_TRUE(reader.next(batch));
        EXPECT_EQ(batch.count, PriceListImportReader::LinesPerBatch);
    }
    file.close();
}

} // namespace
