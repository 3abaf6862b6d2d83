#include "Collation.h"

#include "CaseTable.h"

#include <array>

namespace platform::text {

namespace {

using Weights = std::array<uint8_t, 256>;

// The Windows-1251 bytes in sort order. Within a letter the capital comes first (Ee Ёё);
// the other Cyrillic letters of the code page sit at their places in the Cyrillic alphabet.
constexpr unsigned char kSymbols[] = {
    0x82, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8B, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x99,
    0x9B, 0xA4, 0xA6, 0xA7, 0xA9, 0xAB, 0xAC, 0xAE, 0xB0, 0xB1, 0xB5, 0xB6, 0xB7, 0xB9, 0xBB,
};

// Capital, small.
constexpr unsigned char kCyrillic[][2] = {
    {0xC0, 0xE0}, {0xC1, 0xE1}, {0xC2, 0xE2}, {0xC3, 0xE3},               // А Б В Г
    {0xA5, 0xB4}, {0x81, 0x83}, {0xC4, 0xE4}, {0x80, 0x90},               // Ґ Ѓ Д Ђ
    {0xC5, 0xE5}, {0xA8, 0xB8}, {0xAA, 0xBA}, {0xC6, 0xE6}, {0xC7, 0xE7}, // Е Ё Є Ж З
    {0xBD, 0xBE}, {0xC8, 0xE8}, {0xB2, 0xB3}, {0xAF, 0xBF}, {0xC9, 0xE9}, // Ѕ И І Ї Й
    {0xA3, 0xBC}, {0xCA, 0xEA}, {0x8D, 0x9D}, {0xCB, 0xEB}, {0x8A, 0x9A}, // Ј К Ќ Л Љ
    {0xCC, 0xEC}, {0xCD, 0xED}, {0x8C, 0x9C}, {0xCE, 0xEE}, {0xCF, 0xEF}, // М Н Њ О П
    {0xD0, 0xF0}, {0xD1, 0xF1}, {0xD2, 0xF2}, {0x8E, 0x9E}, {0xD3, 0xF3}, // Р С Т Ћ У
    {0xA1, 0xA2}, {0xD4, 0xF4}, {0xD5, 0xF5}, {0xD6, 0xF6}, {0xD7, 0xF7}, // Ў Ф Х Ц Ч
    {0x8F, 0x9F}, {0xD8, 0xF8}, {0xD9, 0xF9}, {0xDA, 0xFA}, {0xDB, 0xFB}, // Џ Ш Щ Ъ Ы
    {0xDC, 0xFC}, {0xDD, 0xFD}, {0xDE, 0xFE}, {0xDF, 0xFF},               // Ь Э Ю Я
};

constexpr Weights buildWeights()
{
    Weights weights{};
    std::array<bool, 256> placed{};
    unsigned next = 0;
    auto place = [&](unsigned byte) {
        weights[byte] = static_cast<uint8_t>(next++);
        placed[byte] = true;
    };

    // Controls, the undefined byte 0x98 and the soft hyphen.
    for (unsigned b = 0x00; b < 0x20; ++b)
        place(b);
    place(0x7F);
    place(0x98);
    place(0xAD);
    place(' ');
    place(0xA0);
    for (unsigned b = 0x21; b < 0x7F; ++b) {
        const bool digit = b >= '0' && b <= '9';
        const bool letter = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (!digit && !letter)
            place(b);
    }
    for (const unsigned char b : kSymbols)
        place(b);
    for (unsigned b = '0'; b <= '9'; ++b)
        place(b);
    for (unsigned b = 'A'; b <= 'Z'; ++b) {
        place(b);
        place(b - 'A' + 'a');
    }
    for (const auto& letter : kCyrillic) {
        place(letter[0]);
        place(letter[1]);
    }

    // Every byte placed exactly once: a constant-evaluation failure otherwise.
    for (bool p : placed)
        if (!p)
            throw "collation table incomplete";
    if (next != 256)
        throw "collation table has duplicates";
    return weights;
}

constexpr Weights kWeights = buildWeights();

std::size_t clippedLength(std::string_view bytes)
{
    std::size_t n = bytes.size();
    while (n && bytes[n - 1] == ' ')
        --n;
    return n;
}

bool onlyBlanks(std::string_view bytes, std::size_t from)
{
    for (std::size_t i = from; i < bytes.size(); ++i)
        if (bytes[i] != ' ')
            return false;
    return true;
}

// Index builds call this n log n times: equal bytes are passed over without their weights,
// and the trailing blanks are looked at only where the texts part or one of them ends.
template <typename Weigh> int compareWith(std::string_view a, std::string_view b, Weigh weigh)
{
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const auto byteA = static_cast<unsigned char>(a[i]);
        const auto byteB = static_cast<unsigned char>(b[i]);
        if (byteA == byteB)
            continue;
        const int wa = weigh(byteA);
        const int wb = weigh(byteB);
        if (wa == wb)
            continue;
        // A text with only blanks from here on ends here.
        if (onlyBlanks(a, i))
            return onlyBlanks(b, i) ? 0 : -1;
        if (onlyBlanks(b, i))
            return 1;
        return wa - wb;
    }
    if (a.size() == b.size())
        return 0;
    if (a.size() > b.size())
        return onlyBlanks(a, common) ? 0 : 1;
    return onlyBlanks(b, common) ? 0 : -1;
}

} // namespace

uint8_t collationWeight(unsigned char byte)
{
    return kWeights[byte];
}

int compareCollated(std::string_view a, std::string_view b)
{
    return compareWith(a, b, [](unsigned char c) { return kWeights[c]; });
}

int compareNoCase(std::string_view a, std::string_view b)
{
    return compareWith(a, b, [](unsigned char c) { return kWeights[toUpper(c)]; });
}

bool equalClipped(std::string_view a, std::string_view b)
{
    return clip(a) == clip(b);
}

std::string_view clip(std::string_view bytes)
{
    return bytes.substr(0, clippedLength(bytes));
}

} // namespace platform::text
