#include "StorageFixtures.h"

#include "platform/storage/ErrorReporter.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/RecordFileManager.h"

using namespace platform::storage;
using namespace storagetest;

namespace {

class RecordingReporter : public ErrorReporter
{
public:
    void reportFileError(int code, std::string_view file, std::string_view action) override
    {
        reports.push_back(std::to_string(code) + " " + std::string(action) + " " + std::string(file));
    }
    std::vector<std::string> reports;
};

TEST(RecordFileThreads, BuffersOpenStatesAndErrorsArePerThread)
{
    testsupport::TempWorkFolder folder;
    RecordFile file(itemLayout());
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(), 0);
    EXPECT_EQ(file.open(), Error::FileAlreadyOpen);
    addItem(file, 1, "один");
    {
        ThreadScope two(2);
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(file.record<Item>().code, 0); // a fresh, cleared buffer
        EXPECT_TRUE(file.record<Item>().name.isBlank());
        EXPECT_EQ(file.next(), Error::FileNotOpen);
        EXPECT_EQ(errorCode(), Error::FileNotOpen);
        ASSERT_EQ(file.open(0x40), 0);
        EXPECT_TRUE(file.isReadOnly());
        file.setFileOrder();
        ASSERT_EQ(file.next(), 0);
        EXPECT_EQ(file.put(), Error::AccessDenied);
        EXPECT_EQ(file.add(), Error::AccessDenied);
    }
    EXPECT_EQ(errorCode(), 0); // thread 1's state is its own
    EXPECT_EQ(file.record<Item>().code, 1);
    EXPECT_EQ(file.close(), 0);
    EXPECT_EQ(file.close(), Error::FileNotOpen);
    {
        ThreadScope two(2);
        EXPECT_TRUE(file.isOpen()); // thread 1's close left it open here
        EXPECT_EQ(file.records(), 1);
    }
    endThread(2);
    ThreadScope two(2);
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(errorCode(), 0);
}

TEST(RecordFileManagerOpens, NestPerThreadAndCreateOnlyAMissingFile)
{
    testsupport::TempWorkFolder folder;
    RecordFile file(itemLayout());
    RecordingReporter reporter;
    RecordFileManager manager;
    manager.init(file, reporter);
    manager.fileNameValue = "Items";
    manager.openMode = 0x22;
    manager.create = true;
    manager.lockRecover = 10;
    manager.addKey(ByCode, "IT:pocode");
    FileRelation relation;
    relation.init(manager);

    ASSERT_EQ(relation.open(), 0);
    EXPECT_EQ(file.diskName(), "Items.tps");
    EXPECT_TRUE(fileExists("items.TPS"));
    ASSERT_EQ(relation.open(), 0);
    EXPECT_EQ(manager.openCount(), 2);
    {
        ThreadScope two(2);
        EXPECT_EQ(manager.openCount(), 0);
        ASSERT_EQ(relation.open(), 0);
        addItem(file, 5, "пять");
        ASSERT_EQ(relation.close(), 0);
        EXPECT_FALSE(file.isOpen());
        EXPECT_EQ(relation.close(), Error::FileNotOpen);
    }
    EXPECT_EQ(relation.close(), 0);
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.records(), 1); // the create did not replace the file thread 2 wrote
    EXPECT_EQ(relation.close(), 0);
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(reporter.reports.empty());
    ASSERT_EQ(manager.keys().size(), 1u);
    EXPECT_EQ(manager.keys()[0].second, "IT:pocode");

    // Open counts of an ended thread go with it.
    {
        ThreadScope three(3);
        ASSERT_EQ(relation.open(), 0);
    }
    endThread(3);
    ThreadScope three(3);
    EXPECT_EQ(manager.openCount(), 0);
    EXPECT_FALSE(file.isOpen());
    relation.kill();
    manager.kill();
}

TEST(RecordFileManagerOpens, AFailedOpenIsReportedAndNotCounted)
{
    testsupport::TempWorkFolder folder;
    RecordFile file(itemLayout());
    RecordingReporter reporter;
    RecordFileManager manager;
    manager.init(file, reporter);
    EXPECT_EQ(manager.open(), Error::FileNotFound); // create is off: nothing is made
    EXPECT_FALSE(fileExists("items.tps"));
    EXPECT_EQ(manager.openCount(), 0);
    ASSERT_EQ(reporter.reports.size(), 1u);
    EXPECT_EQ(reporter.reports[0], "2 Open items.tps");
    EXPECT_EQ(errorCode(), Error::FileNotFound);
    manager.kill();
}

} // namespace
