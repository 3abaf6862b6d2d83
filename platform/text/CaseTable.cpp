#include "CaseTable.h"

namespace platform::text {

namespace {

using Table = std::array<unsigned char, 256>;

constexpr Table identityTable()
{
    Table table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<unsigned char>(i);
    return table;
}

// The default entry "A..Z А..Я with Ё , a..z а..я with ё": in Windows-1251 the Russian capitals
// are 0xC0..0xDF, the small letters 0xE0..0xFF, Ё is 0xA8 and ё is 0xB8.
constexpr Table defaultUpper()
{
    Table table = identityTable();
    for (unsigned c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<unsigned char>(c - 'a' + 'A');
    for (unsigned c = 0xE0; c <= 0xFF; ++c)
        table[c] = static_cast<unsigned char>(c - 0x20);
    table[0xB8] = 0xA8;
    return table;
}

constexpr Table defaultLower()
{
    Table table = identityTable();
    for (unsigned c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<unsigned char>(c - 'A' + 'a');
    for (unsigned c = 0xC0; c <= 0xDF; ++c)
        table[c] = static_cast<unsigned char>(c + 0x20);
    table[0xA8] = 0xB8;
    return table;
}

std::string mapped(std::string_view bytes, const Table& table)
{
    std::string out(bytes.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = static_cast<char>(table[static_cast<unsigned char>(bytes[i])]);
    return out;
}

} // namespace

namespace detail {
constinit Table g_upperTable = defaultUpper();
constinit Table g_lowerTable = defaultLower();
} // namespace detail

std::string upper(std::string_view bytes)
{
    return mapped(bytes, detail::g_upperTable);
}
std::string lower(std::string_view bytes)
{
    return mapped(bytes, detail::g_lowerTable);
}

bool setCaseTable(std::string_view entry)
{
    const std::size_t comma = entry.find(',');
    if (comma == std::string_view::npos)
        return false;
    const std::string_view capitals = entry.substr(0, comma);
    const std::string_view smalls = entry.substr(comma + 1);
    if (capitals.size() != smalls.size())
        return false;

    Table upperTable = identityTable();
    Table lowerTable = identityTable();
    for (std::size_t i = 0; i < capitals.size(); ++i) {
        const auto capital = static_cast<unsigned char>(capitals[i]);
        const auto small = static_cast<unsigned char>(smalls[i]);
        upperTable[small] = capital;
        lowerTable[capital] = small;
    }
    detail::g_upperTable = upperTable;
    detail::g_lowerTable = lowerTable;
    return true;
}

void resetCaseTable()
{
    detail::g_upperTable = defaultUpper();
    detail::g_lowerTable = defaultLower();
}

} // namespace platform::text
