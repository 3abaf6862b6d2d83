#include "platform/ui/Locale.h"

#include "platform/storage/ErrorState.h"
#include "platform/text/CaseTable.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

using platform::text::w;
using platform::ui::Locale;
using platform::ui::LocaleEntry;

namespace {

class LocaleTest : public ::testing::Test
{
protected:
    void TearDown() override { Locale::instance().reset(); }
    Locale& locale = Locale::instance();
};

TEST_F(LocaleTest, EnglishDefaultsThenTheProgramsOverrides)
{
    EXPECT_EQ(locale.buttonCaption(2), "&Yes");
    EXPECT_EQ(locale.longMonthName(12), "December");

    const std::string buttons =
        w("&OK,&Да,&Нет,Пре&рвать,&Повторить,&Игнорировать,&Отменить,&Справка");
    const std::string longMonths = w("января,февраля,марта,апреля,мая,июня,июля,августа,"
                                     "сентября,октября,ноября,декабря");
    ASSERT_TRUE(locale.setEntry(LocaleEntry::ButtonCaptions, buttons));
    ASSERT_TRUE(locale.setEntry(LocaleEntry::ShortMonthNames,
                                w("Янв,Фев,Мар,Апр,Май,Июн,Июл,Авг,Сен,Окт,Ноя,Дек")));
    ASSERT_TRUE(locale.setEntry(LocaleEntry::LongMonthNames, longMonths));
    ASSERT_TRUE(locale.setEntry(LocaleEntry::MorningAfternoon, w("ут,вч")));
    ASSERT_TRUE(locale.setEntry(LocaleEntry::CharacterSet, "WINDOWS"));

    EXPECT_EQ(locale.entry(LocaleEntry::ButtonCaptions), buttons);
    EXPECT_EQ(locale.entry(LocaleEntry::LongMonthNames), longMonths);
    EXPECT_EQ(locale.entry(LocaleEntry::CharacterSet), "WINDOWS");
    EXPECT_EQ(locale.buttonCaption(1), "&OK");
    EXPECT_EQ(locale.buttonCaption(2), w("&Да"));
    EXPECT_EQ(locale.buttonCaption(4), w("&Нет"));
    EXPECT_EQ(locale.buttonCaption(8), w("Пре&рвать"));
    EXPECT_EQ(locale.buttonCaption(128), w("&Справка"));
    EXPECT_EQ(locale.shortMonthName(5), w("Май"));
    EXPECT_EQ(locale.longMonthName(1), w("января"));
    EXPECT_EQ(locale.afternoonMark(), w("вч"));

    // Outside their range the queries give nothing.
    EXPECT_EQ(locale.buttonCaption(0), "");
    EXPECT_EQ(locale.buttonCaption(3), "");
    EXPECT_EQ(locale.buttonCaption(256), "");
    EXPECT_EQ(locale.longMonthName(13), "");
}

TEST_F(LocaleTest, MalformedValuesKeepThePreviousOnes)
{
    EXPECT_FALSE(locale.setEntry(LocaleEntry::ShortMonthNames, w("Янв,Фев")));
    EXPECT_FALSE(locale.setEntry(LocaleEntry::ButtonCaptions, w("&OK,&Да,&Нет")));
    EXPECT_FALSE(locale.setEntry(LocaleEntry::CaseTable, w("АБВ,аб")));
    EXPECT_EQ(locale.shortMonthName(2), "Feb");
    EXPECT_EQ(locale.buttonCaption(2), "&Yes");
    EXPECT_EQ(platform::text::upper(w("ёв")), w("ЁВ"));
}

TEST_F(LocaleTest, CaseTableEntryIsApplied)
{
    // Without ё in the table it has no capital.
    ASSERT_TRUE(locale.setEntry(LocaleEntry::CaseTable,
                                w("ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ,"
                                  "abcdefghijklmnopqrstuvwxyzабвгдежзийклмнопрстуфхцчшщъыьэюя")));
    EXPECT_EQ(platform::text::upper(w("ёж")), w("ёЖ"));

    ASSERT_TRUE(locale.setEntry(LocaleEntry::CaseTable,
                                w("ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ,"
                                  "abcdefghijklmnopqrstuvwxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюя")));
    EXPECT_EQ(platform::text::upper(w("ёлка")), w("ЁЛКА"));
    EXPECT_EQ(platform::text::lower(w("ЁЛКА")), w("ёлка"));
}

TEST_F(LocaleTest, ErrorTextsReachTheStorage)
{
    // Codes no other test relies on: the texts stay set for the rest of the run.
    locale.setErrorText(93, w("Build прерван"));
    platform::storage::setError(93, "korzak.tps");
    EXPECT_EQ(platform::storage::errorText(), w("Build прерван"));
    EXPECT_EQ(locale.errorText(93), w("Build прерван"));
    platform::storage::clearError();
}

TEST_F(LocaleTest, KeyAliasesMapOneStepAndResetClearsThem)
{
    locale.addKeyAlias(0x22D, 0x243); // Ctrl+Insert -> Ctrl+C
    locale.addKeyAlias(0x12D, 0x256); // Shift+Insert -> Ctrl+V
    locale.addKeyAlias(0x243, 0x41);  // not followed from Ctrl+Insert
    locale.setDefaultCharSet(204);
    EXPECT_EQ(locale.mapKey(0x22D), 0x243);
    EXPECT_EQ(locale.mapKey(0x12D), 0x256);
    EXPECT_EQ(locale.mapKey(0x2D), 0x2D);
    EXPECT_EQ(locale.defaultCharSet(), 204);

    locale.reset();
    EXPECT_EQ(locale.mapKey(0x22D), 0x22D);
    EXPECT_EQ(locale.defaultCharSet(), 0);
}

} // namespace
