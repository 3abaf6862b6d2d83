#include "StorageFixtures.h"

using namespace platform::storage;
using namespace storagetest;
using ::testing::ElementsAre;

namespace {

using RecordFileKeys = ItemFileTest;

TEST_F(RecordFileKeys, OptionalKeysLeaveOutZeroCodesAndBlankTextsButFileOrderHasAll)
{
    ASSERT_EQ(addItem(m_file, 0, "без кода", "ACME"), 0);
    ASSERT_EQ(addItem(m_file, 0, "", "ACME"), 0); // a second zero code: not in the unique key
    ASSERT_EQ(addItem(m_file, 7, "гайка", ""), 0);
    ASSERT_EQ(addItem(m_file, 3, "   ", "ACME"), 0);

    EXPECT_THAT(walk(m_file, ByCode), ElementsAre(3, 7));
    EXPECT_THAT(walk(m_file, ByName), ElementsAre(0, 7));  // "без кода", "гайка"
    EXPECT_THAT(walk(m_file, ByMaker), ElementsAre(7, 0, 0, 3)); // not optional: blank first
    EXPECT_THAT(walk(m_file, -1), ElementsAre(0, 0, 7, 3));
    EXPECT_EQ(m_file.records(), 4);
}

TEST_F(RecordFileKeys, NoCaseKeysFoldCyrillicIncludingYo)
{
    ASSERT_EQ(addItem(m_file, 1, "ёлка"), 0);
    ASSERT_EQ(addItem(m_file, 2, "ЕЛЬ"), 0);
    ASSERT_EQ(addItem(m_file, 3, "Жук"), 0);
    ASSERT_EQ(addItem(m_file, 4, "яма"), 0);
    ASSERT_EQ(addItem(m_file, 5, "ЁЛКА"), 0);
    ASSERT_EQ(addItem(m_file, 6, "абрикос"), 0);

    // Е before Ё before Ж; equal texts in any case keep the order they were added in.
    EXPECT_THAT(walk(m_file, ByName), ElementsAre(6, 2, 1, 5, 3, 4));

    m_file.clearBuffer();
    m_file.record<Item>().name = w("ЁлКа");
    ASSERT_EQ(m_file.get(ByName), 0);
    EXPECT_EQ(m_file.record<Item>().code, 1);
}

TEST_F(RecordFileKeys, CaseKeyKeepsCapitalsApart)
{
    ASSERT_EQ(addItem(m_file, 1, "ель"), 0);
    ASSERT_EQ(addItem(m_file, 2, "Ель"), 0);
    ASSERT_EQ(addItem(m_file, 3, "ёж"), 0);
    EXPECT_THAT(walk(m_file, ByNameCase), ElementsAre(2, 1, 3));
    m_file.clearBuffer();
    m_file.record<Item>().name = w("ЕЛЬ");
    EXPECT_EQ(m_file.get(ByNameCase), Error::RecordNotFound);
    EXPECT_EQ(m_file.get(ByName), 0);
}

TEST_F(RecordFileKeys, UniqueKeyRefusesDuplicateWith40AndKeepsTheFirst)
{
    ASSERT_EQ(addItem(m_file, 5, "первый"), 0);
    EXPECT_EQ(addItem(m_file, 5, "второй"), Error::DuplicateKey);
    EXPECT_EQ(errorCode(), Error::DuplicateKey);
    EXPECT_EQ(errorFile(), "items.tps");
    EXPECT_EQ(m_file.records(), 1);

    // A put that would make a duplicate is refused the same way.
    ASSERT_EQ(addItem(m_file, 6, "третий"), 0);
    m_file.record<Item>().code = 5;
    EXPECT_EQ(m_file.put(), Error::DuplicateKey);
}

TEST(RecordFileUniqueTwoComponents, SameNameOtherMailIsKeptSameBothRefusedIgnoringCase)
{
    testsupport::TempWorkFolder folder;
    RecordFile file(contactLayout());
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(), 0);
    auto add = [&](const char* name, const char* mail) {
        file.clearBuffer();
        file.record<Contact>().name = w(name);
        file.record<Contact>().mail = w(mail);
        return file.add();
    };
    EXPECT_EQ(add("Петров", "p@x.ru"), 0);
    EXPECT_EQ(add("Петров", "petrov@x.ru"), 0);
    EXPECT_EQ(add("ПЕТРОВ", "P@X.RU"), Error::DuplicateKey);
    EXPECT_EQ(add("Ёлкин", "e@x.ru"), 0);
    EXPECT_EQ(add("ёЛКИН", "E@x.ru"), Error::DuplicateKey);
    EXPECT_EQ(add("Елкин", "e@x.ru"), 0); // Е and Ё are different letters
    EXPECT_EQ(add("", ""), 0);
    EXPECT_EQ(add("", ""), 0); // all blank: left out of the optional key
    EXPECT_EQ(file.records(), 6);
}

TEST_F(RecordFileKeys, DuplicatesFollowKeyThenAdditionOrderOnBothComponents)
{
    ASSERT_EQ(addItem(m_file, 1, "болт", "Б"), 0);
    ASSERT_EQ(addItem(m_file, 2, "анкер", "Б"), 0);
    ASSERT_EQ(addItem(m_file, 3, "болт", "А"), 0);
    ASSERT_EQ(addItem(m_file, 4, "БОЛТ", "Б"), 0);
    ASSERT_EQ(addItem(m_file, 5, "", "А"), 0);

    EXPECT_THAT(walk(m_file, ByMakerName), ElementsAre(5, 3, 2, 1, 4));
    EXPECT_THAT(walk(m_file, ByMakerName, false), ElementsAre(4, 1, 2, 3, 5));
    EXPECT_THAT(walk(m_file, ByMaker), ElementsAre(3, 5, 1, 2, 4));
}

TEST_F(RecordFileKeys, TwoKeysOverOneFieldGiveTheSameOrder)
{
    const char* names[] = {"шайба", "Болт", "ось", "болт", "", "Ёрш", "ерш"};
    for (int i = 0; i < 7; ++i)
        ASSERT_EQ(addItem(m_file, i + 1, names[i]), 0);
    EXPECT_EQ(walk(m_file, ByName), walk(m_file, ByNameAgain));
    EXPECT_THAT(walk(m_file, ByName), ElementsAre(2, 4, 7, 6, 3, 1));
}

TEST_F(RecordFileKeys, NumericKeysOrderByValue)
{
    ASSERT_EQ(addItem(m_file, 1, "a", "", 10.5), 0);
    ASSERT_EQ(addItem(m_file, 2, "b", "", 2), 0);
    ASSERT_EQ(addItem(m_file, 3, "c", "", 0), 0);
    ASSERT_EQ(addItem(m_file, 4, "d", "", -1), 0);
    ASSERT_EQ(addItem(m_file, 100, "e", "", 100), 0);
    EXPECT_THAT(walk(m_file, ByPrice), ElementsAre(4, 2, 1, 100));
    EXPECT_THAT(walk(m_file, ByCode, false), ElementsAre(100, 4, 3, 2, 1));
}

} // namespace
