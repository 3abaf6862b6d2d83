#include "StorageFixtures.h"

#include "platform/storage/LogicalThread.h"

#include <filesystem>

using namespace platform::storage;
using namespace storagetest;

namespace {

TEST(StorageLayout, FieldsAndKeysByNameIgnoringCaseWithOrWithoutPrefix)
{
    const FileLayout layout = itemLayout();
    EXPECT_EQ(layout.fieldIndex("IT:NAME"), 1);
    EXPECT_EQ(layout.fieldIndex("it:name"), 1);
    EXPECT_EQ(layout.fieldIndex("Maker"), 2);
    EXPECT_EQ(layout.fieldIndex("XX:NAME"), -1);
    EXPECT_EQ(layout.fieldIndex("NAMES"), -1);
    EXPECT_EQ(layout.keyIndex("IT:POMAKNAME"), ByMakerName);
    EXPECT_EQ(layout.keyIndex("pocode"), ByCode);
    EXPECT_EQ(layout.keyIndex("IT:nothing"), -1);
    EXPECT_EQ(layout.recordSize, sizeof(Item));
    EXPECT_EQ(layout.fields[3].offset, 34u);
}

TEST(StorageErrorState, CodesAndFilesPerThreadTextsByCode)
{
    setError(Error::RecordNotFound, "a.tps");
    {
        ThreadScope other(7);
        EXPECT_EQ(errorCode(), 0);
        EXPECT_EQ(errorFile(), "");
        setError(Error::DuplicateKey, "b.tps");
    }
    EXPECT_EQ(errorCode(), Error::RecordNotFound);
    EXPECT_EQ(errorFile(), "a.tps");
    EXPECT_EQ(errorTextOf(9999), "Error 9999");
    setErrorText(35, w("Запись не найдена"));
    EXPECT_EQ(errorText(), w("Запись не найдена"));
    clearError();
    EXPECT_EQ(errorFile(), "");
    endThread(7);
    ThreadScope other(7);
    EXPECT_EQ(errorCode(), 0);
}

TEST(StorageFileNames, ResolvedIgnoringCaseWithBackslashes)
{
    testsupport::TempWorkFolder folder;
    std::filesystem::create_directories(folder.file("Data"));
    testsupport::writeFileBytes(folder.file("Data") / "PRICE.tps", "x");
    EXPECT_EQ(resolveFileName("data\\price.TPS"), "Data/PRICE.tps");
    EXPECT_EQ(resolveFileName("data\\new.tps"), "Data/new.tps");
    EXPECT_TRUE(fileExists("DATA/Price.tps"));
    EXPECT_FALSE(fileExists("data/other.tps"));
    EXPECT_EQ(errorCode(), Error::FileNotFound);

    // Windows-1251 names reach the disk as UTF-8.
    EXPECT_EQ(resolveFileName(w("Прайс.tps")), "Прайс.tps");
}

TEST(StorageFileNames, CopyRenameRemoveClosedFiles)
{
    testsupport::TempWorkFolder folder;
    {
        RecordFile file(itemLayout());
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        addItem(file, 1, "one");
        EXPECT_EQ(removeFile("ITEMS.TPS"), Error::AccessDenied); // open here
    }
    ASSERT_EQ(copyFile("Items.tps", "copy.tps"), 0);
    ASSERT_EQ(renameFile("copy.tps", "moved.tps"), 0);
    EXPECT_FALSE(fileExists("copy.tps"));
    RecordFile moved(itemLayout());
    moved.setDiskName("MOVED.tps");
    ASSERT_EQ(moved.open(), 0);
    EXPECT_EQ(moved.records(), 1);
    moved.close();
    EXPECT_EQ(removeFile("moved.tps"), 0);
    EXPECT_FALSE(fileExists("moved.tps"));
    EXPECT_EQ(removeFile("moved.tps"), Error::FileNotFound);
    EXPECT_EQ(copyFile("missing.tps", "x.tps"), Error::FileNotFound);
    EXPECT_EQ(copyFile("items.tps", "nofolder/x.tps"), Error::PathNotFound);
}

TEST(StorageCreate, ReplacesAClosedFileButNotAnOpenOne)
{
    testsupport::TempWorkFolder folder;
    RecordFile file(itemLayout());
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(), 0);
    addItem(file, 1, "one");
    EXPECT_EQ(file.create(), Error::FileAlreadyOpen);
    {
        ThreadScope other(2);
        EXPECT_EQ(file.create(), Error::ExclusiveAccessRequired);
    }
    file.close();
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(), 0);
    EXPECT_EQ(file.records(), 0);
}

} // namespace
