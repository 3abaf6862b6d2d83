#pragma once

#include <cstdint>
#include <string_view>

// Sort order of Windows-1251 text: controls, blanks, punctuation and symbols, digits, Latin,
// then Cyrillic in alphabet order with Ё right after Е. Each capital sorts just before its small
// letter (A a B b ... Е е Ё ё). "No case" keys compare text upper-cased by the case table.
// Both compares are allocation-free table lookups (SQLite calls them on every index step).
namespace platform::text {

// The weight of one byte in the collation (distinct bytes have distinct weights).
uint8_t collationWeight(unsigned char byte);

// <0, 0, >0. Trailing blanks are ignored in both.
int compareCollated(std::string_view a, std::string_view b);
int compareNoCase(std::string_view a, std::string_view b);

// Plain byte compare with trailing blanks ignored (the "=" of filter expressions).
bool equalClipped(std::string_view a, std::string_view b);

// The text without its trailing blanks.
std::string_view clip(std::string_view bytes);

} // namespace platform::text
