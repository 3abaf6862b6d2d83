#include "platform/ui/Locale.h"

#include "platform/storage/ErrorState.h"
#include "platform/text/CaseTable.h"
#include "platform/text/Cp1251.h"

#include <bit>

namespace platform::ui {
namespace {

std::vector<std::string> splitList(std::string_view value)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = value.find(',', start);
        items.emplace_back(value.substr(start, comma - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return items;
}

std::string joinList(const std::vector<std::string>& items)
{
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            joined += ',';
        joined += items[i];
    }
    return joined;
}

const char* const kShortMonths = "Jan,Feb,Mar,Apr,May,Jun,Jul,Aug,Sep,Oct,Nov,Dec";
const char* const kLongMonths = "January,February,March,April,May,June,July,August,September,"
                                "October,November,December";
const char* const kButtons = "&OK,&Yes,&No,&Abort,&Retry,&Ignore,&Cancel,&Help";
const char* const kDayMarks = "AM,PM";

std::string pick(const std::vector<std::string>& items, int index)
{
    if (index < 0 || index >= static_cast<int>(items.size()))
        return {};
    return items[static_cast<std::size_t>(index)];
}

} // namespace

Locale& Locale::instance()
{
    static Locale locale;
    return locale;
}

Locale::Locale()
{
    setDefaults();
}

void Locale::reset()
{
    setDefaults();
    text::resetCaseTable();
}

void Locale::setDefaults()
{
    m_characterSet = "ANSI";
    m_collation = "ANSI";
    m_caseTable = text::w("ABCDEFGHIJKLMNOPQRSTUVWXYZАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ,"
                          "abcdefghijklmnopqrstuvwxyzабвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    m_shortMonths = splitList(kShortMonths);
    m_longMonths = splitList(kLongMonths);
    m_buttons = splitList(kButtons);
    m_dayMarks = splitList(kDayMarks);
    m_keyAliases.clear();
    m_defaultCharSet = 0;
}

bool Locale::setEntry(LocaleEntry entry, std::string_view value)
{
    // A list of the wrong length would shift every later name into the wrong place.
    const auto setList = [value](std::vector<std::string>& target, std::size_t count) {
        std::vector<std::string> items = splitList(value);
        if (items.size() != count)
            return false;
        target = std::move(items);
        return true;
    };
    switch (entry) {
    case LocaleEntry::CharacterSet: m_characterSet = value; return true;
    case LocaleEntry::Collation: m_collation = value; return true;
    case LocaleEntry::ShortMonthNames: return setList(m_shortMonths, 12);
    case LocaleEntry::LongMonthNames: return setList(m_longMonths, 12);
    case LocaleEntry::ButtonCaptions: return setList(m_buttons, 8);
    case LocaleEntry::MorningAfternoon: return setList(m_dayMarks, 2);
    case LocaleEntry::CaseTable:
        if (!text::setCaseTable(value))
            return false;
        m_caseTable = value;
        return true;
    }
    return false;
}

std::string Locale::entry(LocaleEntry entry) const
{
    switch (entry) {
    case LocaleEntry::CharacterSet: return m_characterSet;
    case LocaleEntry::Collation: return m_collation;
    case LocaleEntry::ShortMonthNames: return joinList(m_shortMonths);
    case LocaleEntry::LongMonthNames: return joinList(m_longMonths);
    case LocaleEntry::ButtonCaptions: return joinList(m_buttons);
    case LocaleEntry::MorningAfternoon: return joinList(m_dayMarks);
    case LocaleEntry::CaseTable: return m_caseTable;
    }
    return {};
}

std::string Locale::buttonCaption(unsigned buttonBit) const
{
    if (buttonBit == 0 || buttonBit > 128 || !std::has_single_bit(buttonBit))
        return {};
    return pick(m_buttons, std::countr_zero(buttonBit));
}

std::string Locale::shortMonthName(int month) const
{
    return pick(m_shortMonths, month - 1);
}

std::string Locale::longMonthName(int month) const
{
    return pick(m_longMonths, month - 1);
}

std::string Locale::morningMark() const
{
    return pick(m_dayMarks, 0);
}

std::string Locale::afternoonMark() const
{
    return pick(m_dayMarks, 1);
}

void Locale::setErrorText(int code, std::string_view text)
{
    storage::setErrorText(code, text);
}

std::string Locale::errorText(int code) const
{
    return storage::errorTextOf(code);
}

void Locale::addKeyAlias(int key, int deliveredAs)
{
    m_keyAliases[key] = deliveredAs;
}

int Locale::mapKey(int key) const
{
    const auto found = m_keyAliases.find(key);
    return found == m_keyAliases.end() ? key : found->second;
}

void Locale::clearKeyAliases()
{
    m_keyAliases.clear();
}

void Locale::setDefaultCharSet(int charSet)
{
    m_defaultCharSet = charSet;
}

int Locale::defaultCharSet() const
{
    return m_defaultCharSet;
}

} // namespace platform::ui
