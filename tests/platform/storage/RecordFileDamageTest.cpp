#include "StorageFixtures.h"

#include "platform/storage/ErrorReporter.h"
#include "platform/storage/RecordFileManager.h"

#include <filesystem>

using namespace platform::storage;
using namespace storagetest;

namespace {

class SilentReporter : public ErrorReporter
{
public:
    void reportFileError(int code, std::string_view, std::string_view) override { codes.push_back(code); }
    std::vector<int> codes;
};

class RecordFileDamage : public ::testing::Test
{
protected:
    // A valid file of a few pages, then the change under test applied to its bytes.
    void makeFile(int records = 200)
    {
        RecordFile file(itemLayout());
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        file.stream();
        for (int i = 1; i <= records; ++i)
            ASSERT_EQ(addItem(file, i, "изделие номер " + std::to_string(i), "ЗАВОД"), 0);
        ASSERT_EQ(file.flush(), 0);
        ASSERT_EQ(file.close(), 0);
        m_bytes = testsupport::readFileBytes(path());
    }
    std::filesystem::path path() const { return m_folder.file("items.tps"); }

    // The open is refused with a code and text, and the file keeps every byte.
    void expectRefusedAndUntouched(const std::string& bytes)
    {
        testsupport::writeFileBytes(path(), bytes);
        RecordFile file(itemLayout());
        const int code = file.open();
        EXPECT_EQ(code, Error::DamagedDataFile);
        EXPECT_EQ(errorFile(), "items.tps");
        EXPECT_FALSE(file.isOpen());

        // The framework's create setting must not replace a damaged file.
        SilentReporter reporter;
        RecordFileManager manager;
        manager.init(file, reporter);
        manager.create = true;
        EXPECT_EQ(manager.open(), Error::DamagedDataFile);
        EXPECT_EQ(reporter.codes, std::vector<int>{Error::DamagedDataFile});
        manager.kill();
        EXPECT_EQ(testsupport::readFileBytes(path()), bytes);
        EXPECT_FALSE(std::filesystem::exists(m_folder.file("items.tps-journal")));
    }

    testsupport::TempWorkFolder m_folder;
    std::string m_bytes;
};

TEST_F(RecordFileDamage, NotADatabase)
{
    expectRefusedAndUntouched("PR:KOD;PR:NAIM\r\n1;" + w("гайка") + "\r\n");
}

TEST_F(RecordFileDamage, EmptyFile) { expectRefusedAndUntouched(""); }

TEST_F(RecordFileDamage, HeaderOverwritten)
{
    makeFile();
    std::string bytes = m_bytes;
    for (std::size_t i = 0; i < 100; ++i)
        bytes[i] = static_cast<char>(i * 7 + 1);
    expectRefusedAndUntouched(bytes);
}

TEST_F(RecordFileDamage, Truncated)
{
    makeFile();
    ASSERT_GT(m_bytes.size(), 8192u);
    expectRefusedAndUntouched(m_bytes.substr(0, m_bytes.size() / 2));
}

TEST_F(RecordFileDamage, SchemaPageScrambled)
{
    makeFile();
    std::string bytes = m_bytes;
    for (std::size_t i = 100; i < 4096; ++i)
        bytes[i] = static_cast<char>(0xA5 ^ i);
    expectRefusedAndUntouched(bytes);
}

TEST_F(RecordFileDamage, DataPagesScrambledAreReportedByTheWalk)
{
    makeFile(2000);
    std::string bytes = m_bytes;
    for (std::size_t i = 4096; i < bytes.size(); i += 3)
        bytes[i] = static_cast<char>(0x5A ^ i);
    testsupport::writeFileBytes(path(), bytes);
    RecordFile file(itemLayout());
    const int opened = file.open(0x40);
    if (opened == 0) {
        file.setKey(ByName);
        int code = 0;
        int count = 0;
        while ((code = file.next()) == 0)
            ++count;
        EXPECT_EQ(code, Error::DamagedDataFile) << count;
        file.close();
    } else {
        EXPECT_EQ(opened, Error::DamagedDataFile);
    }
    EXPECT_EQ(testsupport::readFileBytes(path()), bytes);
}

} // namespace
