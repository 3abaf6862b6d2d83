#include "platform/text/CaseTable.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

using namespace platform::text;

namespace {

const char* const kLocaleEntry = "ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ,"
                                 "abcdefghijklmnopqrstuvwxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюя";

class CaseTableTest : public ::testing::Test
{
protected:
    void TearDown() override { resetCaseTable(); }
};

} // namespace

TEST_F(CaseTableTest, DefaultFoldsLatinAndRussianIncludingYo)
{
    EXPECT_EQ(upper(w("ёлка Ель abc xyz яЯ")), w("ЁЛКА ЕЛЬ ABC XYZ ЯЯ"));
    EXPECT_EQ(lower(w("ЁЛКА ЕЛЬ ABC XYZ ЯЯ")), w("ёлка ель abc xyz яя"));
    // Other letters of the code page and all non-letters stay as they are.
    EXPECT_EQ(upper(w("ї є ў ђ µ 1,2-№")), w("ї є ў ђ µ 1,2-№"));
    EXPECT_EQ(upper(std::string("\0\x7f", 2)), std::string("\0\x7f", 2));
}

TEST_F(CaseTableTest, DefaultEqualsTheLocaleEntry)
{
    std::string before(256, '\0');
    for (int b = 0; b < 256; ++b)
        before[b] = static_cast<char>(b);
    const std::string up = upper(before);
    const std::string down = lower(before);
    ASSERT_TRUE(setCaseTable(w(kLocaleEntry)));
    EXPECT_EQ(upper(before), up);
    EXPECT_EQ(lower(before), down);
}

TEST_F(CaseTableTest, ReplacingTheTable)
{
    ASSERT_TRUE(setCaseTable(w("ЇЄ,їє")));
    EXPECT_EQ(upper(w("їєa")), w("ЇЄa")); // Latin no longer folds: the entry replaces all
    EXPECT_EQ(toLower(static_cast<unsigned char>(w("Є")[0])),
              static_cast<unsigned char>(w("є")[0]));
    resetCaseTable();
    EXPECT_EQ(upper(w("їєa")), w("їєA"));
}

TEST_F(CaseTableTest, RejectedEntriesChangeNothing)
{
    for (const char* bad : {"ABC,ab", "AB", "", "A,bc"})
        EXPECT_FALSE(setCaseTable(bad)) << bad;
    EXPECT_EQ(upper("abc"), "ABC");
    EXPECT_TRUE(setCaseTable(","));
    EXPECT_EQ(upper("abc"), "abc");
}
