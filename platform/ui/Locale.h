#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The locale service: texts the runtime shows (month names, message-box button captions,
// morning and afternoon marks), the character set and collation names, the case table, the
// texts of storage error codes, key aliases and the default font character set. Every text is
// Windows-1251. One instance per process; the program sets its overrides at start.
namespace platform::ui {

enum class LocaleEntry {
    CharacterSet,     // "WINDOWS"
    ShortMonthNames,  // twelve names, comma-separated
    LongMonthNames,   // twelve genitive names, comma-separated
    ButtonCaptions,   // OK, Yes, No, Abort, Retry, Ignore, Cancel, Help, comma-separated
    Collation,        // "WINDOWS"
    CaseTable,        // upper-case letters, a comma, lower-case letters in the same order
    MorningAfternoon, // two marks, comma-separated
};

class Locale
{
public:
    static Locale& instance();

    // Returns false and keeps the previous value when the value is malformed (a list with the
    // wrong number of items, case-table halves of different lengths).
    bool setEntry(LocaleEntry entry, std::string_view value);
    std::string entry(LocaleEntry entry) const;

    // The caption of one message-box button by its bit (1 OK, 2 Yes, 4 No, 8 Abort, 16 Retry,
    // 32 Ignore, 64 Cancel, 128 Help), with its "&" access-key mark; empty for another value.
    std::string buttonCaption(unsigned buttonBit) const;

    // month 1..12; empty outside that range.
    std::string shortMonthName(int month) const;
    std::string longMonthName(int month) const;
    std::string morningMark() const;
    std::string afternoonMark() const;

    // Texts of storage error codes; they are kept by the storage's error state.
    void setErrorText(int code, std::string_view text);
    std::string errorText(int code) const;

    // Key codes: virtual key + 0x100 Shift, + 0x200 Ctrl, + 0x400 Alt. A key with an alias is
    // delivered as the alias; an alias is not followed further.
    void addKeyAlias(int key, int deliveredAs);
    int mapKey(int key) const;
    void clearKeyAliases();

    // The font character set of every window (0 ANSI, 204 Cyrillic).
    void setDefaultCharSet(int charSet);
    int defaultCharSet() const;

    // Back to the defaults (English texts, no aliases, ANSI character set, the built-in case
    // table). Error texts stay with the storage.
    void reset();

private:
    Locale();
    // The defaults; the case table itself is left as the text library holds it.
    void setDefaults();

    std::string m_characterSet;
    std::string m_collation;
    std::string m_caseTable;
    std::vector<std::string> m_shortMonths;
    std::vector<std::string> m_longMonths;
    std::vector<std::string> m_buttons;
    std::vector<std::string> m_dayMarks;
    std::map<int, int> m_keyAliases;
    int m_defaultCharSet = 0;
};

} // namespace platform::ui
