#include "StorageFixtures.h"

#include "platform/storage/sqlite/Collations.h"
#include "platform/system/ProgramRuntime.h"

#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform::storage;
using namespace storagetest;

namespace {

constexpr int KeyCount = 7;

class BulkFill : public ItemFileTest
{
protected:
    void SetUp() override
    {
        ItemFileTest::SetUp();
        m_other.setDiskName("other.tps");
        ASSERT_EQ(m_other.create(), 0);
        ASSERT_EQ(m_other.open(), 0);
    }

    // Repeated names, makers and prices, blank ones and code 0 (outside the optional keys),
    // added in a shuffled code order.
    static void addMany(RecordFile& file, int count)
    {
        for (int i = 0; i < count; ++i) {
            const int code = i % 50 == 0 ? 0 : (i * 7919) % 100000 + 1;
            const std::string name =
                i % 11 == 0 ? "" : (i % 2 ? "Name" : "name") + std::to_string(i % 13);
            ASSERT_EQ(addItem(file, code, name, i % 7 == 0 ? "" : "Maker" + std::to_string(i % 5),
                              i % 17),
                      0);
        }
    }

    // The positions met walking every key both ways, and file order.
    static std::vector<std::vector<int64_t>> everyOrder(RecordFile& file)
    {
        std::vector<std::vector<int64_t>> orders;
        for (int key = -1; key < KeyCount; ++key) {
            for (const bool forward : {true, false}) {
                if (key < 0)
                    file.setFileOrder();
                else
                    EXPECT_EQ(file.setKey(key), 0);
                std::vector<int64_t> positions;
                while ((forward ? file.next() : file.previous()) == 0)
                    positions.push_back(file.position());
                orders.push_back(positions);
            }
        }
        return orders;
    }

    // What another connection sees of the file: its records and its indexes.
    std::pair<int64_t, int64_t> seenElsewhere(RecordFile& file)
    {
        sqlite3* db = nullptr;
        std::pair<int64_t, int64_t> seen{-1, -1};
        const std::string path = resolveFileName(file.diskName());
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
            sqlite::registerCollations(db) == SQLITE_OK) {
            for (auto [sql, into] :
                 {std::pair{"SELECT count(*) FROM records", &seen.first},
                  std::pair{"SELECT count(*) FROM sqlite_master WHERE type = 'index'",
                            &seen.second}}) {
                sqlite3_stmt* statement = nullptr;
                if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
                    sqlite3_step(statement) == SQLITE_ROW)
                    *into = sqlite3_column_int64(statement, 0);
                else
                    ADD_FAILURE() << sqlite3_errmsg(db);
                sqlite3_finalize(statement);
            }
        }
        sqlite3_close(db);
        return seen;
    }

    RecordFile m_other{itemLayout()};
};

// The same records added in the same order give the same key orders, ties by position, the
// optional keys leaving out the same records, whether the keys were kept record by record or
// built at the end; also for a file that joins another's run of writes.
TEST_F(BulkFill, KeysBuiltAtTheEndGiveTheOrdersOfKeysKeptRecordByRecord)
{
    ASSERT_EQ(m_file.stream(m_other), 0);
    ASSERT_EQ(m_other.beginBulkFill(), 0);
    addMany(m_file, 600);
    addMany(m_other, 600);
    ASSERT_EQ(m_other.endBulkFill(), 0);
    ASSERT_EQ(m_other.flush(), 0);
    ASSERT_EQ(m_file.flush(), 0);
    EXPECT_EQ(everyOrder(m_other), everyOrder(m_file));

    ASSERT_EQ(m_file.stream(), 0);
    ASSERT_EQ(m_file.beginBulkFill(), 0);
    ASSERT_EQ(m_file.empty(), 0);
    addMany(m_file, 600);
    ASSERT_EQ(m_file.flush(), 0);
    ASSERT_EQ(m_other.stream(), 0);
    ASSERT_EQ(m_other.empty(), 0);
    addMany(m_other, 600);
    ASSERT_EQ(m_other.flush(), 0);
    EXPECT_EQ(everyOrder(m_file), everyOrder(m_other));
}

TEST_F(BulkFill, DuringTheFillUniqueKeysRefuseDuplicatesAndTheOthersAreRefused)
{
    ASSERT_EQ(m_file.beginBulkFill(), Error::StreamError); // outside a run of writes
    ASSERT_EQ(m_file.stream(), 0);
    ASSERT_EQ(m_file.beginBulkFill(), 0);
    ASSERT_EQ(addItem(m_file, 5, "b"), 0);
    ASSERT_EQ(addItem(m_file, 6, "a"), 0);
    EXPECT_EQ(addItem(m_file, 5, "c"), Error::DuplicateKey);
    m_file.record<Item>().code = 5;
    ASSERT_EQ(m_file.get(ByCode), 0);
    EXPECT_EQ(m_file.record<Item>().name.str(), "b");
    EXPECT_EQ(m_file.setKey(ByName), 77);
    EXPECT_EQ(m_file.get(ByName), 77);
    EXPECT_EQ(m_file.setKeyAt(ByPrice, 1), 77);
    EXPECT_EQ(walk(m_file, ByCode), (std::vector<int>{5, 6}));
    ASSERT_EQ(m_file.endBulkFill(), 0);
    EXPECT_EQ(walk(m_file, ByName), (std::vector<int>{6, 5}));
    ASSERT_EQ(m_file.flush(), 0);
}

// A run is never committed without its keys: a flush or a close builds what the fill left,
// and a reopened file walks every key.
TEST_F(BulkFill, AFlushOrACloseBuildsTheKeysTheFillLeft)
{
    for (const bool byClose : {false, true}) {
        ASSERT_EQ(m_file.stream(), 0);
        ASSERT_EQ(m_file.beginBulkFill(), 0);
        ASSERT_EQ(m_file.empty(), 0);
        ASSERT_EQ(addItem(m_file, 2, "b", "y"), 0);
        ASSERT_EQ(addItem(m_file, 1, "a", "z"), 0);
        ASSERT_EQ(byClose ? m_file.close() : m_file.flush(), 0);
        EXPECT_EQ(seenElsewhere(m_file), std::make_pair(int64_t{2}, int64_t{KeyCount}));
        if (byClose) {
            ASSERT_EQ(m_file.open(), 0);
        }
        EXPECT_EQ(walk(m_file, ByName), (std::vector<int>{1, 2}));
        EXPECT_EQ(walk(m_file, ByMaker), (std::vector<int>{2, 1}));
    }
}

// Until the commit another reader sees the previous records with every key; a discard gives
// both back here.
TEST_F(BulkFill, OthersSeeThePreviousFileWholeAndADiscardGivesItBack)
{
    ASSERT_EQ(addItem(m_file, 1, "old"), 0);
    ASSERT_EQ(m_file.stream(), 0);
    ASSERT_EQ(m_file.beginBulkFill(), 0);
    ASSERT_EQ(m_file.empty(), 0);
    ASSERT_EQ(addItem(m_file, 2, "new"), 0);
    ASSERT_EQ(addItem(m_file, 3, "new"), 0);
    EXPECT_EQ(seenElsewhere(m_file), std::make_pair(int64_t{1}, int64_t{KeyCount}));
    ASSERT_EQ(m_file.discard(), 0);
    EXPECT_EQ(walk(m_file, ByName), (std::vector<int>{1}));
    EXPECT_EQ(seenElsewhere(m_file), std::make_pair(int64_t{1}, int64_t{KeyCount}));

    // A fill in a joint run taken back by its partner's discard: nothing left to build.
    ASSERT_EQ(m_file.stream(m_other), 0);
    ASSERT_EQ(m_other.beginBulkFill(), 0);
    ASSERT_EQ(addItem(m_other, 9, "x"), 0);
    ASSERT_EQ(m_file.discard(), 0);
    EXPECT_EQ(m_other.flush(), Error::StreamError);
    EXPECT_EQ(walk(m_other, ByName), std::vector<int>{});
    EXPECT_EQ(seenElsewhere(m_other), std::make_pair(int64_t{0}, int64_t{KeyCount}));
}

// A fill whose keys or commit cannot be written (a full disk) is reported by the flush and
// leaves the previous records with every key.
TEST_F(BulkFill, AFillThatCannotBeWrittenLeavesThePreviousFileWithItsKeys)
{
    ASSERT_EQ(addItem(m_file, 1, "old", "m"), 0);
    ASSERT_EQ(addItem(m_file, 2, "older", "m"), 0);
    ASSERT_EQ(m_file.close(), 0);
    const auto size =
        static_cast<rlim_t>(testsupport::readFileBytes(m_folder.file("items.tps")).size());
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // As the program's runtime leaves it: past the limit a write fails with EFBIG.
        platform::system::ignoreWriteSignals();
        const rlimit limit{size + 16 * 1024, size + 16 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RecordFile file(itemLayout());
        if (file.open() != 0 || file.stream() != 0 || file.beginBulkFill() != 0 ||
            file.empty() != 0)
            ::_exit(100);
        for (int i = 1; i <= 2000; ++i)
            addItem(file, i, "a name long enough " + std::to_string(i), "maker");
        ::_exit(file.flush());
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), Error::DiskFull);
    ASSERT_EQ(m_file.open(), 0);
    EXPECT_EQ(seenElsewhere(m_file), std::make_pair(int64_t{2}, int64_t{KeyCount}));
    EXPECT_EQ(walk(m_file, ByName), (std::vector<int>{1, 2}));
    EXPECT_EQ(walk(m_file, ByMaker), (std::vector<int>{1, 2}));
}

} // namespace
