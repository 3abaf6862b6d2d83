#include "app/startup/DatabaseVersionCheck.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

using namespace app;
namespace storage = platform::storage;

namespace {

void createPriceListWith(storage::FileLayout layout, const std::string& name = "priosn.tps")
{
    RecordFile file(std::move(layout));
    file.setDiskName(name);
    ASSERT_EQ(file.create(), 0);
}

TEST(DatabaseVersionCheck, NoPriceListIsAFirstRunNotAMismatch)
{
    testsupport::TempWorkFolder folder;
    EXPECT_FALSE(PriceListLayoutDiffers());
    EXPECT_FALSE(storage::fileExists("priosn.tps")); // the check creates nothing
}

TEST(DatabaseVersionCheck, TheProgramsOwnLayoutMatches)
{
    testsupport::TempWorkFolder folder;
    createPriceListWith(priosnLayout());
    EXPECT_FALSE(PriceListLayoutDiffers());
}

TEST(DatabaseVersionCheck, AnOlderLayoutDiffersWhateverTheLetterCase)
{
    for (const char* name : {"priosn.tps", "PRIOSN.TPS"}) {
        testsupport::TempWorkFolder folder;
        createPriceListWith(priosnNLayout(), name);
        EXPECT_TRUE(PriceListLayoutDiffers()) << name;
        createPriceListWith(priosnSLayout(), name);
        EXPECT_TRUE(PriceListLayoutDiffers()) << name;
    }
}

TEST(DatabaseVersionCheck, LeavesNoErrorAndTheFileClosed)
{
    testsupport::TempWorkFolder folder;
    createPriceListWith(priosnNLayout());
    ASSERT_TRUE(PriceListLayoutDiffers());
    EXPECT_EQ(storage::errorCode(), 0);
    EXPECT_EQ(storage::errorFile(), "");
    // The rebuild can replace it: the check holds no open state.
    EXPECT_EQ(PRIOSN().create(), 0);
    EXPECT_FALSE(PriceListLayoutDiffers());
}

TEST(DatabaseVersionCheck, ADamagedFileIsNotTakenForAnOldVersion)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("priosn.tps"), "not a data file at all");
    EXPECT_FALSE(PriceListLayoutDiffers());
}

// Bytes of the description of its layout that the file keeps, damaged: damage, which the
// windows report when they open the file, not a file of an older version to rebuild.
TEST(DatabaseVersionCheck, ADamagedLayoutDescriptionIsNotTakenForAnOldVersion)
{
    testsupport::TempWorkFolder folder;
    createPriceListWith(priosnLayout());
    std::string bytes = testsupport::readFileBytes(folder.file("priosn.tps"));
    const std::size_t at = bytes.find("field PR:OBOZ STRING 50");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at + 6, 7, "\x01\x02\x03\xff\xfe\x04\x05");
    testsupport::writeFileBytes(folder.file("priosn.tps"), bytes);
    EXPECT_FALSE(PriceListLayoutDiffers());
}

} // namespace
