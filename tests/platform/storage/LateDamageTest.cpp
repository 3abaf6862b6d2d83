#include "StorageFixtures.h"

#include "platform/storage/sqlite/Collations.h"
#include "tests/support/DamagedPages.h"

#include <sqlite3.h>

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

// Salvage reads the records off the table's pages whatever became of the header, the schema,
// the keys and the layout description: nothing outside the damaged pages is lost, and records
// deleted before the damage do not come back from the pages they left.
TEST_F(LateDamage, SalvageReadsTheTablePagesWhateverTheHeaderSchemaOrKeys)
{
    const std::vector<std::size_t> leaves = testsupport::recordPages(m_bytes);
    const std::vector<std::size_t> tree = testsupport::recordTreePages(m_bytes);
    ASSERT_FALSE(tree.empty());
    std::vector<std::size_t> keysAndLayout = testsupport::keyPages(m_bytes);
    keysAndLayout.push_back(testsupport::layoutPage(m_bytes));
    const std::size_t middle = leaves[leaves.size() / 2];
    struct Case
    {
        const char* name;
        std::string bytes;
        std::set<int64_t> lost;
    };
    const std::vector<Case> cases = {
        {"header page overwritten", testsupport::damagePages(m_bytes, {0}), {}},
        {"signature overwritten", testsupport::damageSignature(m_bytes), {}},
        {"cut after the record pages", testsupport::cutAfterRecordPages(m_bytes), {}},
        {"keys and layout overwritten", testsupport::damagePages(m_bytes, keysAndLayout), {}},
        {"the table's tree overwritten", testsupport::damagePages(m_bytes, tree), {}},
        {"header and a record page overwritten",
         testsupport::damagePages(m_bytes, {0, middle}), positionsOn(m_bytes, middle)},
    };
    for (const Case& damage : cases) {
        SCOPED_TRACE(damage.name);
        testsupport::writeFileBytes(path(), damage.bytes);
        RecordFile file(itemLayout());
        std::vector<int> codes;
        bool intact = true;
        EXPECT_EQ(file.salvage([&] {
            const Item& item = file.record<Item>();
            codes.push_back(item.code);
            intact = intact && item.name.str() == w("изделие " + std::to_string(item.code))
                     && item.maker.str() == w("ЗАВОД") && item.price == item.code;
        }),
                  0);
        EXPECT_TRUE(intact);
        std::vector<int> expected;
        for (int i = 1; i <= Records; ++i)
            if (!damage.lost.count(i))
                expected.push_back(i);
        EXPECT_EQ(codes, expected);
        EXPECT_TRUE(testsupport::readFileBytes(path()) == damage.bytes);
    }

    // The first 1500 records deleted: the pages they leave are free, not records.
    testsupport::writeFileBytes(path(), m_bytes);
    {
        RecordFile file(itemLayout());
        ASSERT_EQ(file.open(), 0);
        ASSERT_EQ(file.stream(), 0);
        file.setFileOrder();
        while (file.next() == 0 && file.record<Item>().code <= 1500)
            ASSERT_EQ(file.erase(), 0);
        ASSERT_EQ(file.flush(), 0);
        ASSERT_EQ(file.close(), 0);
    }
    const std::string thinned = testsupport::readFileBytes(path());
    for (const std::string& bytes :
         {testsupport::damagePages(thinned, {0}), testsupport::cutAfterRecordPages(thinned)}) {
        testsupport::writeFileBytes(path(), bytes);
        RecordFile file(itemLayout());
        std::vector<int> codes;
        EXPECT_EQ(file.salvage([&] { codes.push_back(file.record<Item>().code); }), 0);
        ASSERT_EQ(codes.size(), 500u);
        EXPECT_EQ(codes.front(), 1501);
        EXPECT_EQ(codes.back(), Records);
    }
}

// What a write-ahead log beside the file holds, committed but not yet copied into the file,
// is read as well: the pages it rewrote are taken from it, also when the file's header is gone.
TEST_F(LateDamage, SalvageReadsTheCommittedPagesOfAWriteAheadLog)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(platform::storage::sqlite::registerCollations(db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; "
                               "UPDATE records SET \"IT:MARK\" = 7 WHERE rowid % 2 = 0",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_TRUE(std::filesystem::exists(path().string() + "-wal"));
    for (const bool headerGone : {false, true}) {
        SCOPED_TRACE(headerGone ? "header gone" : "intact");
        if (headerGone)
            testsupport::writeFileBytes(path(), testsupport::damagePages(m_bytes, {0}));
        RecordFile file(itemLayout());
        int read = 0;
        int marked = 0;
        EXPECT_EQ(file.salvage([&] {
            ++read;
            marked += file.record<Item>().mark == (file.record<Item>().code % 2 == 0 ? 7 : 0);
        }),
                  0);
        EXPECT_EQ(read, Records);
        EXPECT_EQ(marked, Records);
    }
    sqlite3_close(db);
}

// An enciphered file's records come back from its pages too, deciphered under its password,
// when its layout description and keys are damaged; with its salt (the first page) gone
// nothing can be deciphered.
TEST(EncipheredSalvage, ReadsThePagesUnderThePassword)
{
    testsupport::TempWorkFolder folder;
    const FileLayout layout = itemLayout("plomvikar");
    {
        RecordFile file(layout);
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        file.stream();
        for (int i = 1; i <= 40; ++i)
            ASSERT_EQ(addItem(file, i, "секрет " + std::to_string(i), "HIDDEN", i), 0);
        ASSERT_EQ(file.flush(), 0);
        ASSERT_EQ(file.close(), 0);
    }
    const std::filesystem::path path = folder.file("items.tps");
    const std::string bytes = testsupport::readFileBytes(path);
    // The storage makes the table first, then one tree per key, then the description.
    constexpr std::size_t Page = 1024;
    std::string damaged = bytes;
    for (std::size_t page = 2; page <= 2 + layout.keys.size(); ++page)
        for (std::size_t i = page * Page; i < (page + 1) * Page; ++i)
            damaged.at(i) = static_cast<char>(i * 7);
    testsupport::writeFileBytes(path, damaged);

    RecordFile file(layout);
    EXPECT_EQ(file.open(), Error::DamagedDataFile);
    std::vector<int> codes;
    bool intact = true;
    EXPECT_EQ(file.salvage([&] {
        codes.push_back(file.record<Item>().code);
        intact = intact && file.record<Item>().maker.str() == "HIDDEN";
    }),
              0);
    EXPECT_TRUE(intact);
    ASSERT_EQ(codes.size(), 40u);
    EXPECT_EQ(codes.back(), 40);

    testsupport::writeFileBytes(path, std::string(Page, 'x') + bytes.substr(Page));
    codes.clear();
    EXPECT_EQ(file.salvage([&] { codes.push_back(file.record<Item>().code); }),
              Error::DamagedDataFile);
    EXPECT_TRUE(codes.empty());

    RecordFile wrong(itemLayout("plomvikas"));
    wrong.setDiskName("items.tps");
    testsupport::writeFileBytes(path, bytes);
    EXPECT_EQ(wrong.salvage([&] { codes.push_back(0); }), Error::DamagedDataFile);
    EXPECT_TRUE(codes.empty());
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

namespace {

// Damage to any page of an enciphered file but its first is said as damage (36) wherever it is
// met, never as a driver error or a refused access; the first page holds the salt, without
// which a damaged file and a wrong password look the same (5).
TEST(EncipheredDamage, IsSaidAsDamageWhereverItIsMet)
{
    testsupport::TempWorkFolder folder;
    const FileLayout layout = itemLayout("plomvikar");
    {
        RecordFile file(layout);
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        ASSERT_EQ(addItem(file, 1, "секрет", "HIDDEN", 1), 0);
        ASSERT_EQ(file.close(), 0);
    }
    const std::filesystem::path path = folder.file("items.tps");
    const std::string bytes = testsupport::readFileBytes(path);
    constexpr std::size_t Page = 1024;
    for (std::size_t page = 0; page * Page < bytes.size(); ++page) {
        SCOPED_TRACE(page);
        std::string damaged = bytes;
        for (std::size_t i = page * Page; i < (page + 1) * Page; ++i)
            damaged.at(i) = static_cast<char>(i * 7);
        testsupport::writeFileBytes(path, damaged);
        RecordFile file(layout);
        const int opened = file.open();
        if (page == 0) {
            EXPECT_EQ(opened, Error::AccessDenied);
            continue;
        }
        std::vector<int> codes = {opened};
        if (opened == 0) {
            file.records();
            codes.push_back(errorCode());
            file.setFileOrder();
            codes.push_back(file.next());
            file.close();
        }
        for (const int code : codes)
            EXPECT_TRUE(code == 0 || code == Error::DamagedDataFile) << code;
    }
}

} // namespace
