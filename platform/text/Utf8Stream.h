#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// UTF-8 bytes as they arrive in pieces (a character may be split between two): whether they
// form valid UTF-8 and, when asked, their Windows-1251 form. A character the code page lacks
// becomes its letters without accents where it has them (é is e), else '?'; a byte-order mark
// is dropped and a byte that breaks the encoding becomes '?'.
namespace platform::text {

class Utf8Stream
{
public:
    // Looks at the next piece; with out, appends its Windows-1251 bytes to it.
    void take(std::string_view bytes, std::string* out = nullptr);
    // The end of the bytes: a character left unfinished breaks the encoding.
    void finish(std::string* out = nullptr);

    // No byte so far broke the encoding.
    bool valid() const { return m_valid; }
    // Characters of more than one byte met so far.
    int64_t wideCharacters() const { return m_wide; }

private:
    void broken(std::string* out);
    void character(char32_t codePoint, std::string* out);

    bool m_valid = true;
    int64_t m_wide = 0;
    int m_needed = 0; // continuation bytes the character under way still needs
    char32_t m_codePoint = 0;
    char32_t m_least = 0; // the smallest code point its length may carry (no overlong forms)
};

} // namespace platform::text
