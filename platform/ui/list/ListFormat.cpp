#include "platform/ui/list/ListFormat.h"

#include <cctype>
#include <cstdio>
#include "platform/text/AsciiChars.h"

namespace platform::ui {
namespace {

bool digit(char c)
{
    return platform::text::isAsciiDigit(c) != 0;
}

// Reads a number at pos in the given base; false when none is there.
bool number(std::string_view text, std::size_t& pos, int base, int& value)
{
    const std::size_t start = pos;
    long long result = 0;
    while (pos < text.size()) {
        const char c = static_cast<char>(platform::text::asciiUpper(text[pos]));
        int d = -1;
        if (digit(c))
            d = c - '0';
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0)
            break;
        result = result * base + d;
        if (result > 0xFFFFFFFLL)
            return false;
        ++pos;
    }
    value = static_cast<int>(result);
    return pos > start;
}

std::optional<ListColumn> column(std::string_view text, std::size_t& pos)
{
    ListColumn c;
    if (!number(text, pos, 10, c.width) || pos >= text.size())
        return std::nullopt;
    c.align = text[pos++];
    if (c.align != 'L' && c.align != 'R' && c.align != 'C')
        return std::nullopt;
    while (pos < text.size() && text[pos] != '~') {
        const char flag = text[pos++];
        if (flag == 'I') {
            c.icon = true;
        } else if (flag == '*') {
            c.colours = true;
        } else if (flag == 'Y') {
            if (!number(text, pos, 10, c.style))
                return std::nullopt;
        } else if (flag == 'C') {
            if (!number(text, pos, 16, c.textColour))
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    if (pos >= text.size())
        return std::nullopt;
    ++pos; // the opening "~"
    for (;;) {
        if (pos >= text.size())
            return std::nullopt;
        if (text[pos] == '~') {
            if (pos + 1 < text.size() && text[pos + 1] == '~') {
                c.header += '~';
                pos += 2;
                continue;
            }
            ++pos;
            return c;
        }
        c.header += text[pos++];
    }
}

} // namespace

std::optional<ListFormat> ListFormat::parse(std::string_view text, std::size_t maxColumns)
{
    ListFormat format;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::optional<ListColumn> c = column(text, pos);
        if (!c)
            return std::nullopt;
        format.m_columns.push_back(std::move(*c));
        if (pos == text.size() || format.m_columns.size() >= maxColumns)
            break;
        if (text[pos] != '|' || pos + 1 == text.size())
            return std::nullopt;
        ++pos;
    }
    return format;
}

std::string ListFormat::text() const
{
    std::string out;
    for (const ListColumn& c : m_columns) {
        if (!out.empty())
            out += '|';
        out += std::to_string(c.width);
        out += c.align;
        if (c.icon)
            out += 'I';
        if (c.colours)
            out += '*';
        if (c.style > 0)
            out += 'Y' + std::to_string(c.style);
        if (c.textColour >= 0) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "C%X", static_cast<unsigned>(c.textColour));
            out += hex;
        }
        out += '~';
        for (char ch : c.header) {
            out += ch;
            if (ch == '~')
                out += '~';
        }
        out += '~';
    }
    return out;
}

} // namespace platform::ui
