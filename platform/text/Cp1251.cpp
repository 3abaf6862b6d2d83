#include "Cp1251.h"

#include <array>

namespace platform::text {

namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

constexpr unsigned char kUnmapped = '?';

char32_t decodeByte(unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return 0x0410 + (byte - 0xC0);
    return kHighHalf[byte - 0x80];
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Every Windows-1251 byte maps into the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes one UTF-8 sequence at text[pos]; advances pos. A malformed sequence yields
// U+FFFD and consumes its longest valid prefix (at least one byte), so one bad sequence
// becomes one replacement and the following good text is kept.
char32_t nextCodePoint(std::string_view text, std::size_t& pos)
{
    const unsigned char lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;

    int length = 0;
    char32_t cp = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            secondLow = 0xA0; // overlong
        else if (lead == 0xED)
            secondHigh = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0)
            secondLow = 0x90; // overlong
        else if (lead == 0xF4)
            secondHigh = 0x8F; // above U+10FFFF
    } else {
        return 0xFFFD;
    }

    for (int i = 1; i < length; ++i) {
        if (pos >= text.size())
            return 0xFFFD;
        const unsigned char next = static_cast<unsigned char>(text[pos]);
        const bool valid =
            i == 1 ? (next >= secondLow && next <= secondHigh) : isContinuation(next);
        if (!valid)
            return 0xFFFD;
        cp = (cp << 6) | (next & 0x3F);
        ++pos;
    }
    return cp;
}

} // namespace

char32_t unicodeOf(unsigned char byte)
{
    return decodeByte(byte);
}

unsigned char byteOf(char32_t codePoint, bool* ok)
{
    unsigned char result = kUnmapped;
    bool found = false;
    if (codePoint < 0x80) {
        result = static_cast<unsigned char>(codePoint);
        found = true;
    } else if (codePoint >= 0x0410 && codePoint <= 0x044F) {
        result = static_cast<unsigned char>(0xC0 + (codePoint - 0x0410));
        found = true;
    } else if (codePoint != 0xFFFD) {
        for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
            if (kHighHalf[i] == codePoint) {
                result = static_cast<unsigned char>(0x80 + i);
                found = true;
                break;
            }
        }
    }
    if (ok)
        *ok = found;
    return result;
}

std::string utf8ToCp1251(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const unsigned char byte = static_cast<unsigned char>(utf8[pos]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++pos;
            continue;
        }
        out += static_cast<char>(byteOf(nextCodePoint(utf8, pos)));
    }
    return out;
}

std::string cp1251ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes)
        appendUtf8(out, decodeByte(static_cast<unsigned char>(c)));
    return out;
}

QString toQString(std::string_view bytes)
{
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* data = out.data();
    for (std::size_t i = 0; i < bytes.size(); ++i)
        data[i] = QChar(static_cast<char16_t>(decodeByte(static_cast<unsigned char>(bytes[i]))));
    return out;
}

std::string fromQString(QStringView text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < size &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            // No character outside the Basic Multilingual Plane has a Windows-1251 byte.
            out += static_cast<char>(kUnmapped);
            ++i;
            continue;
        }
        out += static_cast<char>(byteOf(unit));
    }
    return out;
}

namespace {

bool alreadyListed(const std::u32string& letters, char32_t folded)
{
    for (const char32_t letter : letters)
        if (QChar::toCaseFolded(letter) == folded)
            return true;
    return false;
}

} // namespace

std::u32string charactersOutsideCp1251(QStringView text)
{
    std::u32string outside;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char32_t codePoint = text[i].unicode();
        if (QChar::isHighSurrogate(codePoint) && i + 1 < size &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        bool ok = false;
        byteOf(codePoint, &ok);
        if (ok)
            continue;
        const char32_t folded = QChar::toCaseFolded(codePoint);
        if (alreadyListed(outside, folded))
            continue;
        outside += codePoint;
    }
    return outside;
}

} // namespace platform::text
