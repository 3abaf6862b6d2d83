#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// Windows-1251 is the program's inner text form: records, files and exchange formats hold
// these bytes. Conversion to Unicode happens only at the Qt boundary.
namespace platform::text {

// The Unicode code point of one Windows-1251 byte (the undefined byte 0x98 maps to U+FFFD).
char32_t unicodeOf(unsigned char byte);

// The Windows-1251 byte of a code point; '?' when the code point has none (ok set to false).
unsigned char byteOf(char32_t codePoint, bool* ok = nullptr);

std::string utf8ToCp1251(std::string_view utf8);
std::string cp1251ToUtf8(std::string_view bytes);

QString toQString(std::string_view bytes);
std::string fromQString(QStringView text);

// The characters of a text that have no Windows-1251 byte, each once (a letter's capital and
// small forms count as one), in the order they first appear: fromQString would turn each into
// "?" (a name made with them names another file).
std::u32string charactersOutsideCp1251(QStringView text);

// Shorthand for literals written in UTF-8 source that go into records, files or formats:
// w("Всего:") is the Windows-1251 form.
inline std::string w(std::string_view utf8) { return utf8ToCp1251(utf8); }

} // namespace platform::text
