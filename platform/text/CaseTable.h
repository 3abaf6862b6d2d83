#pragma once

#include <array>
#include <string>
#include <string_view>

// Upper and lower case of Windows-1251 bytes by the program's case table. The table starts as
// Latin plus the Russian alphabet (ё <-> Ё included) and can be replaced by the locale entry.
namespace platform::text {

namespace detail {
// Byte-indexed tables; lookups stay inline because filter scans and index compares call them
// for every byte. Written only by setCaseTable / resetCaseTable.
extern std::array<unsigned char, 256> g_upperTable;
extern std::array<unsigned char, 256> g_lowerTable;
} // namespace detail

inline unsigned char toUpper(unsigned char byte)
{
    return detail::g_upperTable[byte];
}
inline unsigned char toLower(unsigned char byte)
{
    return detail::g_lowerTable[byte];
}
std::string upper(std::string_view bytes);
std::string lower(std::string_view bytes);

// The locale entry: the upper-case letters, a comma, the lower-case letters in the same order
// (Windows-1251 bytes). Returns false and changes nothing when the halves differ in length.
// Bytes not named in the entry keep their own case. Set it at start-up, before other threads
// read text: the tables are not guarded.
bool setCaseTable(std::string_view entry);
void resetCaseTable();

} // namespace platform::text
