#include "StorageFixtures.h"

#include "platform/storage/ErrorReporter.h"
#include "platform/storage/RecordFileManager.h"
#include "platform/system/ProgramRuntime.h"

#include <csignal>
#include <functional>

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
