#include "platform/text/Utf8Stream.h"

#include "platform/text/Cp1251.h"

#include <QChar>
#include <QString>

namespace platform::text {

void Utf8Stream::take(std::string_view bytes, std::string* out)
{
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (m_needed > 0) {
            if ((byte & 0xC0) == 0x80) {
                m_codePoint = (m_codePoint << 6) | (byte & 0x3F);
                if (--m_needed == 0) {
                    if (m_codePoint < m_least || m_codePoint > 0x10FFFF ||
                        (m_codePoint >= 0xD800 && m_codePoint <= 0xDFFF))
                        broken(out);
                    else
                        character(m_codePoint, out);
                }
                continue;
            }
            m_needed = 0;
            broken(out); // the character ended early; this byte starts afresh
        }
        if (byte < 0x80) {
            if (out)
                out->push_back(c);
        } else if (byte >= 0xC2 && byte <= 0xDF) {
            m_needed = 1;
            m_codePoint = byte & 0x1F;
            m_least = 0x80;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            m_needed = 2;
            m_codePoint = byte & 0x0F;
            m_least = 0x800;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            m_needed = 3;
            m_codePoint = byte & 0x07;
            m_least = 0x10000;
        } else {
            broken(out);
        }
    }
}

void Utf8Stream::finish(std::string* out)
{
    if (m_needed > 0) {
        m_needed = 0;
        broken(out);
    }
}

void Utf8Stream::broken(std::string* out)
{
    m_valid = false;
    if (out)
        out->push_back('?');
}

void Utf8Stream::character(char32_t codePoint, std::string* out)
{
    ++m_wide;
    if (!out || codePoint == 0xFEFF)
        return;
    bool ok = true;
    const unsigned char byte = byteOf(codePoint, &ok);
    if (ok) {
        out->push_back(static_cast<char>(byte));
        return;
    }
    // Its letters without the accents the code page lacks ("é" is "e", "ﬁ" is "fi").
    std::string nearest;
    if (codePoint <= 0xFFFF)
        for (const QChar part : QChar(static_cast<char16_t>(codePoint)).decomposition()) {
            const unsigned char partByte = byteOf(part.unicode(), &ok);
            if (ok)
                nearest.push_back(static_cast<char>(partByte));
        }
    *out += nearest.empty() ? std::string("?") : nearest;
}

} // namespace platform::text
