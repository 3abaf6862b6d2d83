#pragma once

// Character classes and case of the ASCII letters for the program's own names (keys, path
// names, field pictures, header names). The C library's <cctype> answers by the environment's
// locale: under a single-byte Cyrillic one, isalpha and toupper take the letters of
// Windows-1251 too, which would change what a name or a picture means. Cyrillic text goes
// through the case table (CaseTable.h) instead.
namespace platform::text {

constexpr bool isAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr bool isAsciiAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool isAsciiAlnum(char c)
{
    return isAsciiDigit(c) || isAsciiAlpha(c);
}

constexpr bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace platform::text
