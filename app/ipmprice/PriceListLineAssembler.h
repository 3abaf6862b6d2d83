#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Gathers the bytes of a price-list text file into lines: CR is skipped wherever it stands, LF
// ends a line, and only the first MaxLength bytes of a line are kept. A last line that no LF
// ends is never completed.
namespace app {

class PriceListLineAssembler
{
public:
    static constexpr std::size_t MaxLength = 500;

    PriceListLineAssembler() { m_line.reserve(MaxLength); }

    // Takes the next byte; true when it completed a line, which line() then holds until the
    // next byte is taken.
    bool take(uint8_t byte)
    {
        if (m_complete) {
            m_line.clear();
            m_heldNul = false;
            m_complete = false;
        }
        if (byte == '\r')
            return false;
        if (byte == '\n') {
            m_complete = true;
            return true;
        }
        if (m_line.size() < MaxLength)
            m_line.push_back(static_cast<char>(byte));
        else
            m_heldNul = m_heldNul || byte == 0; // beyond what is kept: looked at here
        return false;
    }

    std::string_view line() const { return m_line; }
    // The line held a NUL byte, kept or not: no text file does.
    bool heldNul() const
    {
        return m_heldNul || std::memchr(m_line.data(), 0, m_line.size()) != nullptr;
    }

private:
    std::string m_line;
    bool m_heldNul = false;
    bool m_complete = false;
};

} // namespace app
