#pragma once

#include <string>
#include <string_view>

// Upper and lower case of Windows-1251 bytes by the program's case table. The table starts as
// Latin plus the Russian alphabet (ё <-> Ё included) and can be replaced by the locale entry.
namespace platform::text {

unsigned char toUpper(unsigned char byte);
unsigned char toLower(unsigned char byte);
std::string upper(std::string_view bytes);
std::string lower(std::string_view bytes);

// The locale entry: the upper-case letters, a comma, the lower-case letters in the same order
// (Windows-1251 bytes). Returns false and changes nothing when the halves differ in length.
bool setCaseTable(std::string_view entry);
void resetCaseTable();

} // namespace platform::text
