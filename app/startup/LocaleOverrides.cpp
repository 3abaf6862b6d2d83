#include "app/startup/LocaleOverrides.h"

#include "app/startup/ErrorCodeTexts.h"
#include "platform/text/Cp1251.h"

#include <array>

namespace app {

using platform::ui::Locale;
using platform::ui::LocaleEntry;

std::span<const std::pair<LocaleEntry, const char*>> LocaleOverrideTable()
{
    static const std::array<std::pair<LocaleEntry, const char*>, 7> table = {{
        {LocaleEntry::CharacterSet, "WINDOWS"},
        {LocaleEntry::ShortMonthNames, "Янв,Фев,Мар,Апр,Май,Июн,Июл,Авг,Сен,Окт,Ноя,Дек"},
        {LocaleEntry::LongMonthNames,
         "января,февраля,марта,апреля,мая,июня,июля,августа,сентября,октября,ноября,декабря"},
        {LocaleEntry::ButtonCaptions,
         "&OK,&Да,&Нет,Пре&рвать,&Повторить,&Игнорировать,&Отменить,&Справка"},
        {LocaleEntry::Collation, "WINDOWS"},
        {LocaleEntry::CaseTable, "ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ,"
                                 "abcdefghijklmnopqrstuvwxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюя"},
        {LocaleEntry::MorningAfternoon, "ут,вч"},
    }};
    return table;
}

std::span<const std::pair<int, int>> KeyAliasTable()
{
    static const std::array<std::pair<int, int>, 3> table = {{
        {0x22D, 0x243},
        {0x12D, 0x256},
        {0x12E, 0x258},
    }};
    return table;
}

void SetLocaleOverrides()
{
    Locale& locale = Locale::instance();
    for (const auto& [entry, value] : LocaleOverrideTable())
        locale.setEntry(entry, platform::text::w(value));
    for (const auto& [code, text] : ErrorCodeTexts())
        locale.setErrorText(code, platform::text::w(text));
}

void SetKeyAliases()
{
    Locale& locale = Locale::instance();
    for (const auto& [key, deliveredAs] : KeyAliasTable())
        locale.addKeyAlias(key, deliveredAs);
}

} // namespace app
