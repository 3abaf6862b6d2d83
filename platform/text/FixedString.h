#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace platform::text {

// STRING(n) of a record: exactly N Windows-1251 bytes, blank-padded, no terminator, byte-aligned
// so records stay packed.
template <std::size_t N>
struct FixedString
{
    char m_bytes[N];

    FixedString() { clear(); }
    FixedString(std::string_view bytes) { assign(bytes); }
    FixedString& operator=(std::string_view bytes)
    {
        assign(bytes);
        return *this;
    }

    static constexpr std::size_t size() { return N; }

    // Assigning a longer text cuts it to N bytes.
    void assign(std::string_view bytes)
    {
        const std::size_t n = std::min(bytes.size(), N);
        if (n)
            std::memcpy(m_bytes, bytes.data(), n);
        std::memset(m_bytes + n, ' ', N - n);
    }
    void clear() { std::memset(m_bytes, ' ', N); }

    std::string_view view() const { return {m_bytes, N}; }
    std::string_view clipped() const
    {
        std::size_t n = N;
        while (n && m_bytes[n - 1] == ' ')
            --n;
        return {m_bytes, n};
    }
    std::string str() const { return std::string(clipped()); }
    bool isBlank() const { return clipped().empty(); }

    // Equal when the texts match with trailing blanks ignored.
    bool operator==(std::string_view other) const
    {
        std::size_t n = other.size();
        while (n && other[n - 1] == ' ')
            --n;
        return clipped() == other.substr(0, n);
    }
    template <std::size_t M>
    bool operator==(const FixedString<M>& other) const
    {
        return clipped() == other.clipped();
    }
};

} // namespace platform::text
