#include "StorageFixtures.h"

#include "platform/storage/ErrorReporter.h"
#include "platform/storage/RecordFileManager.h"
#include "platform/storage/sqlite/Collations.h"
#include "platform/system/ProgramRuntime.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform::storage;
using namespace storagetest;

namespace {

// Runs body in a child process; its result is the child's exit status (-1 when it died).
int inChild(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class CountingReporter : public ErrorReporter
{
public:
    void reportFileError(int code, std::string_view, std::string_view) override { last = code, ++count; }
    int last = 0;
    int count = 0;
};

class RecordFileProcess : public ItemFileTest
{
protected:
    void SetUp() override
    {
        ItemFileTest::SetUp();
        for (int i = 1; i <= 3; ++i)
            ASSERT_EQ(addItem(m_file, i, "запись"), 0);
    }
};

TEST_F(RecordFileProcess, ASecondWriterIsRefusedWhileReadersRead)
{
    // m_file is open with 0x22: writing denied to others.
    EXPECT_EQ(inChild([] {
                  RecordFile file(itemLayout());
                  return file.open(0x22);
              }),
              Error::AccessDenied);
    EXPECT_EQ(inChild([] {
                  RecordFile file(itemLayout());
                  return file.open(0x42);
              }),
              Error::AccessDenied);
    for (const int mode : {0x20, 0x40})
        EXPECT_EQ(inChild([mode] {
                      RecordFile file(itemLayout());
                      if (const int code = file.open(static_cast<uint8_t>(mode)))
                          return 100 + code;
                      return static_cast<int>(file.records());
                  }),
                  3);

    // The framework retries after "Recover=", reports, and settles for reading.
    EXPECT_EQ(inChild([] {
                  RecordFile file(itemLayout());
                  CountingReporter reporter;
                  RecordFileManager manager;
                  manager.init(file, reporter);
                  manager.openMode = 0x22;
                  manager.lockRecover = 10;
                  manager.create = true;
                  if (manager.open() != 0 || !file.isReadOnly())
                      return 101;
                  if (reporter.count != 1 || reporter.last != Error::AccessDenied)
                      return 102;
                  return static_cast<int>(file.records());
              }),
              3);

    // Once closed, another process may write.
    ASSERT_EQ(m_file.close(), 0);
    EXPECT_EQ(inChild([] {
                  RecordFile file(itemLayout());
                  return file.open(0x22) + addItem(file, 9, "из другого процесса");
              }),
              0);
    ASSERT_EQ(m_file.open(), 0);
    EXPECT_EQ(m_file.records(), 4);
}

// A process in the middle of a large run of writes, which no page cache holds: it stops until
// told to go on, then commits a copy of every item with its code plus 100.
pid_t largeRunOfWrites(int ready, int go)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    sqlite3* db = nullptr;
    const char* const run =
        "PRAGMA cache_size = 16; BEGIN;"
        "CREATE TABLE scratch (x);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000)"
        " INSERT INTO scratch SELECT randomblob(1000) FROM n;"
        "INSERT INTO records (\"IT:CODE\", \"IT:NAME\", \"IT:MAKER\", \"IT:PRICE\", \"IT:PACK\","
        " \"IT:MARK\") SELECT \"IT:CODE\" + 100, \"IT:NAME\", \"IT:MAKER\", \"IT:PRICE\","
        " \"IT:PACK\", \"IT:MARK\" FROM records;";
    if (sqlite3_open_v2("items.tps", &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK
        || sqlite::registerCollations(db) != SQLITE_OK
        || sqlite3_exec(db, run, nullptr, nullptr, nullptr) != SQLITE_OK)
        ::_exit(1);
    char byte = 1;
    (void)!::write(ready, &byte, 1);
    (void)!::read(go, &byte, 1);
    if (sqlite3_exec(db, "DROP TABLE scratch; COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        ::_exit(2);
    sqlite3_close(db);
    ::_exit(0);
}

// The codes another process reads through a fresh open (100 + the code of a refused open).
std::vector<int> readInAnotherProcess(const std::string& name = "items.tps")
{
    int out[2];
    if (::pipe(out) != 0)
        return {};
    const int status = inChild([&] {
        RecordFile file(itemLayout());
        file.setDiskName(name);
        if (const int code = file.open(0x40))
            return 100 + code;
        for (const int code : walk(file, ByCode))
            (void)!::write(out[1], &code, sizeof code);
        return 0;
    });
    ::close(out[1]);
    std::vector<int> codes;
    int code = 0;
    while (::read(out[0], &code, sizeof code) == sizeof code)
        codes.push_back(code);
    ::close(out[0]);
    if (status != 0)
        codes.push_back(-status);
    return codes;
}

TEST_F(RecordFileProcess, ReadersOfAnotherProcessReadTheLastCommitWhileARunIsWritten)
{
    // Written by this process, then by another in a run larger than any page cache.
    ASSERT_EQ(m_file.close(), 0);
    ASSERT_EQ(m_file.open(0x42), 0);
    ASSERT_EQ(addItem(m_file, 4, "запись"), 0);
    int ready[2], go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t writer = largeRunOfWrites(ready[1], go[0]);
    ::close(ready[1]);
    char byte = 0;
    EXPECT_EQ(::read(ready[0], &byte, 1), 1);
    // Not refused as busy: the state before the run.
    const std::vector<int> before = {1, 2, 3, 4};
    EXPECT_EQ(readInAnotherProcess(), before);
    EXPECT_EQ(walk(m_file, ByCode), before);
    (void)!::write(go[1], &byte, 1);
    int status = -1;
    ::waitpid(writer, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    for (const int fd : {ready[0], go[0], go[1]})
        ::close(fd);
    const std::vector<int> after = {1, 2, 3, 4, 101, 102, 103, 104};
    EXPECT_EQ(readInAnotherProcess(), after);
    EXPECT_EQ(walk(m_file, ByCode), after);

    // Once closed, the file alone holds every commit: also while another process still has it
    // open, and with nothing beside it once the last one closed it.
    ASSERT_EQ(m_file.close(), 0);
    ASSERT_EQ(m_file.open(), 0);
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        RecordFile file(itemLayout());
        if (file.open(0x40) != 0 || file.records() < 0)
            ::_exit(1);
        (void)!::write(ready[1], &byte, 1);
        (void)!::read(go[0], &byte, 1);
        ::_exit(0);
    }
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(addItem(m_file, 7, "при открытом"), 0);
    ASSERT_EQ(m_file.close(), 0);
    std::filesystem::copy_file(m_folder.file("items.tps"), m_folder.file("copy.tps"));
    (void)!::write(go[1], &byte, 1);
    ::waitpid(holder, nullptr, 0);
    for (const int fd : {ready[0], ready[1], go[0], go[1]})
        ::close(fd);
    EXPECT_EQ(readInAnotherProcess("copy.tps"), (std::vector<int>{1, 2, 3, 4, 7, 101, 102, 103, 104}));
    ASSERT_EQ(m_file.open(), 0);
    ASSERT_EQ(m_file.close(), 0);
    for (const char* companion : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(std::filesystem::exists(m_folder.file(std::string("items.tps") + companion)))
            << companion;
}

TEST_F(RecordFileProcess, AStreamCutByAKilledProcessLeavesTheFileAsBefore)
{
    ASSERT_EQ(m_file.close(), 0);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        RecordFile file(itemLayout());
        if (file.open() != 0 || file.stream() != 0)
            ::_exit(1);
        for (int i = 100; i < 20100; ++i)
            addItem(file, i, "незаконченный поток");
        file.record<Item>().code = 1;
        file.get(ByCode);
        file.erase();
        const char byte = 1;
        (void)!::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    ASSERT_EQ(m_file.open(), 0);
    EXPECT_EQ(m_file.records(), 3);
    EXPECT_EQ(walk(m_file, ByCode), (std::vector<int>{1, 2, 3}));
}

TEST_F(RecordFileProcess, AFullDiskIsReportedAndNothingAcceptedIsLost)
{
    ASSERT_EQ(m_file.close(), 0);
    const auto size = static_cast<rlim_t>(testsupport::readFileBytes(m_folder.file("items.tps")).size());
    int counts[2];
    ASSERT_EQ(::pipe(counts), 0);
    const int code = inChild([&] {
        // As the program's runtime leaves it: past the limit a write fails with EFBIG.
        platform::system::ignoreWriteSignals();
        const rlimit limit{size + 24 * 1024, size + 24 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        RecordFile file(itemLayout());
        if (file.open() != 0)
            return 1;
        int added[3] = {0, 0, 0}; // autocommitted adds, streamed adds, flush code
        int result = 0;
        while ((result = addItem(file, 1000 + added[0], "заполняем диск до отказа", "M")) == 0)
            ++added[0];
        // A run of writes held back until the flush: the flush must tell whether they stayed.
        file.stream();
        while (added[1] < 5000 && addItem(file, 900000 + added[1], "в потоке") == 0)
            ++added[1];
        added[2] = file.flush();
        (void)!::write(counts[1], added, sizeof added);
        return result;
    });
    int added[3] = {0, 0, 0};
    ASSERT_EQ(::read(counts[0], added, sizeof added), static_cast<ssize_t>(sizeof added));
    ::close(counts[0]);
    ::close(counts[1]);
    EXPECT_EQ(code, Error::DiskFull);
    EXPECT_GT(added[0], 10);
    EXPECT_GT(added[1], 100); // held in memory until the flush
    EXPECT_NE(added[2], 0);   // and the flush could not write them

    const int kept = 3 + added[0] + (added[2] == 0 ? added[1] : 0);
    ASSERT_EQ(m_file.open(), 0);
    EXPECT_EQ(m_file.records(), kept);
    EXPECT_EQ(static_cast<int>(walk(m_file, ByName).size()), kept);
}

TEST(RecordFileWrites, AMissingFolderIsReported)
{
    testsupport::TempWorkFolder folder;
    RecordFile file(itemLayout());
    file.setDiskName("nowhere\\items.tps");
    EXPECT_EQ(file.create(), Error::PathNotFound);
    EXPECT_EQ(file.open(), Error::PathNotFound);
    EXPECT_EQ(errorFile(), "nowhere\\items.tps");
}

} // namespace
