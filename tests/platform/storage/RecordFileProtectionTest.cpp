#include "StorageFixtures.h"

using namespace platform::storage;
using namespace storagetest;

namespace {

TEST(RecordFileProtection, OwnerPasswordEnciphersTheFileAtRest)
{
    testsupport::TempWorkFolder folder;
    {
        RecordFile file(itemLayout("plomvikar"));
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        ASSERT_EQ(addItem(file, 4242, "Секретное имя", "HIDDENMAKR"), 0);
        ASSERT_EQ(file.close(), 0);
    }
    const std::string bytes = testsupport::readFileBytes(folder.file("items.tps"));
    ASSERT_GT(bytes.size(), 0u);
    EXPECT_EQ(bytes.find("HIDDENMAKR"), std::string::npos);
    EXPECT_EQ(bytes.find(w("Секретное")), std::string::npos);
    EXPECT_EQ(bytes.find("IT:NAME"), std::string::npos); // the layout too
    EXPECT_EQ(bytes.find("SQLite format"), std::string::npos);

    RecordFile same(itemLayout("plomvikar"));
    ASSERT_EQ(same.open(), 0);
    same.record<Item>().code = 4242;
    ASSERT_EQ(same.get(ByCode), 0);
    EXPECT_EQ(same.record<Item>().maker, std::string_view("HIDDENMAKR"));
}

TEST(RecordFileProtection, WrongOrMissingPasswordIsRefusedAndTheFileKept)
{
    testsupport::TempWorkFolder folder;
    {
        RecordFile file(itemLayout("plomvikar"));
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(file.open(), 0);
        addItem(file, 1, "x");
    }
    const std::string before = testsupport::readFileBytes(folder.file("items.tps"));

    RecordFile wrong(itemLayout("plomvikas"));
    EXPECT_EQ(wrong.open(), Error::AccessDenied);
    EXPECT_FALSE(wrong.isOpen());
    EXPECT_EQ(errorFile(), "items.tps");
    {
        // Nor may it join the connection of an open with the right one.
        RecordFile right(itemLayout("plomvikar"));
        ASSERT_EQ(right.open(), 0);
        EXPECT_EQ(wrong.open(), Error::AccessDenied);
    }

    RecordFile none(itemLayout());
    EXPECT_NE(none.open(), 0);
    EXPECT_FALSE(none.isOpen());
    EXPECT_EQ(testsupport::readFileBytes(folder.file("items.tps")), before);

    // A plain file is not opened under a password either.
    RecordFile plain(contactLayout());
    ASSERT_EQ(plain.create(), 0);
    FileLayout keyed = contactLayout();
    keyed.ownerPassword = "plomvikar";
    RecordFile withPassword(keyed);
    EXPECT_NE(withPassword.open(), 0);
}

TEST(RecordFileProtection, AnotherLayoutGives47)
{
    testsupport::TempWorkFolder folder;
    {
        RecordFile file(itemLayout());
        ASSERT_EQ(file.create(), 0);
    }
    FileLayout longer = itemLayout();
    longer.fields[1].size = 30; // a wider name
    RecordFile changed(longer);
    EXPECT_EQ(changed.open(), Error::InvalidLayout);
    EXPECT_EQ(errorFile(), "items.tps");

    FileLayout rekeyed = itemLayout();
    rekeyed.keys[ByName].optional = false;
    RecordFile other(rekeyed);
    EXPECT_EQ(other.open(), Error::InvalidLayout);

    RecordFile same(itemLayout());
    EXPECT_EQ(same.open(), 0);
    // Joining the open connection is checked the same way.
    EXPECT_EQ(changed.open(), Error::InvalidLayout);
}

} // namespace
