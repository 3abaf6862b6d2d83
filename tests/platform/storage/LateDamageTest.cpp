#include "StorageFixtures.h"

#include "tests/support/DamagedPages.h"

#include <algorithm>
#include <set>

using namespace platform::storage;
using namespace storagetest;

namespace {

using testsupport::positionsOn;

class LateDamage : public ::testing::Test
{
protected:
    // A file of many pages; record n has code n, position n and a name that tells its code.
    void SetUp() override
    {
        RecordFile file(itemLayout());
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        file.stream();
        for (int i = 1; i <= Records; ++i)
            ASSERT_EQ(addItem(file, i, "изделие " + std::to_string(i), "ЗАВОД", i), 0);
        ASSERT_EQ(file.flush(), 0);
        ASSERT_EQ(file.close(), 0);
        m_bytes = testsupport::readFileBytes(path());
        ASSERT_GT(m_bytes.size(), 40 * testsupport::DataPageSize);
    }

    std::filesystem::path path() const { return m_folder.file("items.tps"); }

    // The file with these pages overwritten on disk, as a failing disk leaves them.
    std::string damage(const std::vector<std::size_t>& pages)
    {
        std::string bytes = testsupport::damagePages(m_bytes, pages);
        testsupport::writeFileBytes(path(), bytes);
        return bytes;
    }

    static constexpr int Records = 2000;
    testsupport::TempWorkFolder m_folder;
    std::string m_bytes;
};

// Damage on a page that only a late part of a walk reaches: the walk gives 36 with the file's
// name where it meets it, so does a get of a record there, and from then on nothing writes on
// the file: add, put, erase, empty, a run of writes and a count are all refused with 36.
TEST_F(LateDamage, IsMetByWalksAndGetsAndThenNothingWritesOnTheFile)
{
    const std::size_t leaf = testsupport::recordPages(m_bytes).front();
    const int64_t onIt = *positionsOn(m_bytes, leaf).begin();
    const std::string bytes = damage({leaf});
    RecordFile file(itemLayout());
    ASSERT_EQ(file.open(), 0);
    EXPECT_FALSE(file.damaged());

    file.clearBuffer();
    file.record<Item>().code = static_cast<int32_t>(onIt);
    clearError();
    EXPECT_EQ(file.get(ByCode), Error::DamagedDataFile);
    EXPECT_EQ(errorCode(), Error::DamagedDataFile);
    EXPECT_EQ(errorFile(), "items.tps");
    EXPECT_TRUE(file.damaged());

    for (const int key : {-1, int(ByCode), int(ByName), int(ByPrice)}) {
        if (key < 0)
            file.setFileOrder();
        else
            file.setKey(key);
        int read = 0;
        int code = 0;
        while ((code = file.next()) == 0)
            ++read;
        EXPECT_EQ(code, Error::DamagedDataFile) << key;
        EXPECT_EQ(errorFile(), "items.tps");
        EXPECT_GT(read, 0) << key;
        EXPECT_LT(read, Records) << key;
        // In the order of the positions every record before the damaged page is given.
        if (key == -1 || key == ByCode) {
            EXPECT_EQ(read, onIt - 1) << key;
        }
    }

    EXPECT_EQ(addItem(file, Records + 1, "новое"), Error::DamagedDataFile);
    EXPECT_EQ(errorFile(), "items.tps");
    ASSERT_EQ(file.getAt(1), 0);
    file.record<Item>().pack = 7;
    EXPECT_EQ(file.put(), Error::DamagedDataFile);
    ASSERT_EQ(file.getAt(2), 0);
    EXPECT_EQ(file.erase(), Error::DamagedDataFile);
    EXPECT_EQ(file.empty(), Error::DamagedDataFile);
    EXPECT_EQ(file.stream(), Error::DamagedDataFile);
    EXPECT_EQ(file.records(), 0);
    EXPECT_EQ(errorCode(), Error::DamagedDataFile);
    EXPECT_EQ(file.close(), 0);
    EXPECT_TRUE(testsupport::readFileBytes(path()) == bytes);
}

// Damage met inside a run of writes takes the whole run back: none of its writes reach the
// file, and the flush says why.
TEST_F(LateDamage, MetInsideARunOfWritesTakesTheRunBack)
{
    // Not the last page, where an add would meet it at once.
    const std::string bytes = damage({testsupport::recordPages(m_bytes).at(1)});
    RecordFile file(itemLayout());
    ASSERT_EQ(file.open(), 0);
    ASSERT_EQ(file.stream(), 0);
    ASSERT_EQ(file.getAt(1), 0);
    file.record<Item>().pack = 9;
    ASSERT_EQ(file.put(), 0);
    ASSERT_EQ(addItem(file, 0, "до повреждения"), 0);
    file.setFileOrder();
    while (file.next() == 0) {
    }
    EXPECT_EQ(errorCode(), Error::DamagedDataFile);
    EXPECT_EQ(file.flush(), Error::DamagedDataFile);
    EXPECT_EQ(errorFile(), "items.tps");
    file.close();
    EXPECT_TRUE(testsupport::readFileBytes(path()) == bytes);
}

// Bytes of the stored layout description overwritten: the open says the file is damaged, not
// that it was made for another layout (which the program would take for an older version).
TEST_F(LateDamage, InTheLayoutDescriptionIsDamageNotAnotherLayout)
{
    const std::size_t at = m_bytes.find("field IT:NAME STRING 20");
    ASSERT_NE(at, std::string::npos);
    for (const std::string& over :
         {std::string("xx\x01\xff"), std::string("1"), std::string("   ")}) {
        std::string bytes = m_bytes;
        bytes.replace(at + 14, over.size(), over);
        testsupport::writeFileBytes(path(), bytes);
        RecordFile file(itemLayout());
        EXPECT_EQ(file.open(), Error::DamagedDataFile) << over;
        EXPECT_EQ(errorFile(), "items.tps");
    }
    // A file made for another layout stays another layout.
    testsupport::writeFileBytes(path(), m_bytes);
    FileLayout other = itemLayout();
    other.keys.pop_back();
    RecordFile file(other);
    EXPECT_EQ(file.open(), Error::InvalidLayout);
}

// Salvage reads every record of the pages left whole, stepping over a damaged page in the
// middle and the damaged last one, and changes nothing.
TEST_F(LateDamage, SalvageReadsEveryRecordOffTheDamagedPages)
{
    const std::vector<std::size_t> leaves = testsupport::recordPages(m_bytes);
    ASSERT_GT(leaves.size(), 6u);
    const std::vector<std::size_t> damaged = {leaves.front(), leaves[leaves.size() / 2],
                                              leaves[leaves.size() / 2 + 1]};
    std::set<int64_t> lost;
    for (const std::size_t page : damaged)
        for (const int64_t position : positionsOn(m_bytes, page))
            lost.insert(position);
    ASSERT_GT(lost.size(), 20u);
    const std::string bytes = damage(damaged);

    RecordFile file(itemLayout());
    std::vector<int> codes;
    bool intact = true;
    EXPECT_EQ(file.salvage([&] {
        const Item& item = file.record<Item>();
        codes.push_back(item.code);
        intact = intact && item.name.str() == w("изделие " + std::to_string(item.code)) &&
                 item.price == item.code;
    }),
              0);
    EXPECT_TRUE(intact);
    std::vector<int> expected;
    for (int i = 1; i <= Records; ++i)
        if (!lost.count(i))
            expected.push_back(i);
    EXPECT_EQ(codes, expected);
    EXPECT_TRUE(testsupport::readFileBytes(path()) == bytes);

    // Also while the thread has the file open and has met the damage.
    ASSERT_EQ(file.open(), 0);
    file.setFileOrder();
    while (file.next() == 0) {
    }
    codes.clear();
    EXPECT_EQ(file.salvage([&] { codes.push_back(file.record<Item>().code); }), 0);
    EXPECT_EQ(codes, expected);
    file.close();
}

// Nothing to salvage: a file that is not a data file, and one whose records are of another
// layout.
TEST_F(LateDamage, SalvageOfWhatCannotBeReadSaysSo)
{
    testsupport::writeFileBytes(path(), std::string(3 * testsupport::DataPageSize, 'x'));
    RecordFile file(itemLayout());
    int read = 0;
    EXPECT_EQ(file.salvage([&] { ++read; }), Error::DamagedDataFile);
    EXPECT_EQ(errorFile(), "items.tps");
    testsupport::writeFileBytes(path(), m_bytes);
    RecordFile contacts(contactLayout());
    contacts.setDiskName("items.tps");
    EXPECT_EQ(contacts.salvage([&] { ++read; }), Error::InvalidLayout);
    EXPECT_EQ(read, 0);
}

} // namespace
