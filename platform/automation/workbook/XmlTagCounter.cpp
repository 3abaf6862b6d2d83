#include "platform/automation/workbook/XmlTagCounter.h"

#include <cstring>

namespace platform::automation::workbook {
namespace {

// A tag name longer than this is not the one counted; its start is not carried over.
constexpr size_t kLongestHead = 64;

bool isNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

const char* nameEnd(const char* at, const char* stop)
{
    while (at < stop && isNameByte(*at))
        ++at;
    return at;
}

} // namespace

XmlTagCounter::XmlTagCounter(std::string localName) : m_name(std::move(localName))
{
}

void XmlTagCounter::add(std::string_view chunk)
{
    if (m_carry.empty()) {
        scan(chunk);
        return;
    }
    std::string text = std::move(m_carry);
    m_carry.clear();
    text.append(chunk);
    scan(text);
}

void XmlTagCounter::scan(std::string_view text)
{
    const char* const begin = text.data();
    const char* const stop = begin + text.size();
    for (const char* at = begin; at < stop;) {
        at = static_cast<const char*>(std::memchr(at, '<', static_cast<size_t>(stop - at)));
        if (!at)
            return;
        const char* name = at + 1;
        const char* end = nameEnd(name, stop);
        if (end < stop && *end == ':') {
            name = end + 1;
            end = nameEnd(name, stop);
        }
        if (end == stop) {
            // The tag goes on in the next chunk.
            if (static_cast<size_t>(stop - at) <= kLongestHead)
                m_carry.assign(at, static_cast<size_t>(stop - at));
            return;
        }
        if (static_cast<size_t>(end - name) == m_name.size() &&
            std::memcmp(name, m_name.data(), m_name.size()) == 0 &&
            (*end == '>' || *end == '/' || *end == ' ' || *end == '\t' || *end == '\r' ||
             *end == '\n'))
            ++m_count;
        at = end;
    }
}

} // namespace platform::automation::workbook
