// What a killed run of the program left beside its targets (temporary files named with the
// writing process's id) goes the next time the program writes in that folder; what a running
// process writes, and every other file, stays.
#include "StorageFixtures.h"

#include "platform/storage/FileReplacement.h"

#include <filesystem>
#include <fstream>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform::storage;
using namespace storagetest;

namespace {

pid_t endedProcess()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

class Leftovers : public ItemFileTest
{
protected:
    void SetUp() override
    {
        ItemFileTest::SetUp();
        m_running = ::fork();
        if (m_running == 0) {
            ::pause();
            ::_exit(0);
        }
    }
    void TearDown() override
    {
        ::kill(m_running, SIGKILL);
        ::waitpid(m_running, nullptr, 0);
    }

    void make(const std::string& name)
    {
        std::ofstream(m_folder.file(name)) << "left";
    }
    bool there(const std::string& name) const { return std::filesystem::exists(m_folder.file(name)); }

    pid_t m_running = 0;
};

TEST_F(Leftovers, AWriterRemovesWhatEndedRunsLeftInItsFolder)
{
    const std::string ended = std::to_string(endedProcess());
    const std::string running = std::to_string(m_running);
    const std::vector<std::string> left = {"order.txt.new-" + ended, ".book.xls.new-" + ended,
                                           "items.tps.new-" + ended + "-journal",
                                           "quelbit.txt.new-" + ended};
    const std::vector<std::string> kept = {"order.txt.new-" + running, "order.txt.new-x" + ended,
                                           "order.txt.new-", "notes.txt", ".new-" + ended};
    const auto lay = [&] {
        for (const auto& name : left)
            make(name);
        for (const auto& name : kept)
            make(name);
    };
    const auto check = [&](const char* writer) {
        SCOPED_TRACE(writer);
        for (const auto& name : left)
            EXPECT_FALSE(there(name)) << name;
        for (const auto& name : kept)
            EXPECT_TRUE(there(name)) << name;
    };
    std::filesystem::create_directory(m_folder.file("folder.new-" + ended));

    lay();
    {
        FileReplacement replacement("order.txt");
        std::ofstream(replacement.temporaryName()) << "new";
        EXPECT_EQ(replacement.commit(), 0);
    }
    check("replacing a file");
    EXPECT_EQ(testsupport::readFileBytes(m_folder.file("order.txt")), "new");
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.file("folder.new-" + ended)));

    lay();
    RecordFile other(itemLayout());
    other.setDiskName("other.tps");
    EXPECT_EQ(other.create(), 0);
    check("making a data file");

    // Nothing of this process's own naming stays behind either.
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.path()))
        EXPECT_EQ(entry.path().filename().string().find(".new-" + std::to_string(::getpid())),
                  std::string::npos)
            << entry.path();
}

} // namespace
