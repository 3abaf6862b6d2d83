#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::automation::workbook {

// Counts the start tags of one local name ("c" counts <c>, <c r="A1"/> and <x:c>) in XML given
// chunk by chunk, far faster than parsing it: the readers learn a part's size in cells before
// they build anything. Tags inside comments or CDATA are counted too, which only errs on the
// side of refusing.
class XmlTagCounter
{
public:
    explicit XmlTagCounter(std::string localName);

    void add(std::string_view chunk);
    int64_t count() const { return m_count; }

private:
    void scan(std::string_view text);

    std::string m_name;
    std::string m_carry; // the unfinished tag start at the end of the last chunk
    int64_t m_count = 0;
};

} // namespace platform::automation::workbook
