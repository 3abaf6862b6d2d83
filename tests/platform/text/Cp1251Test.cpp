#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <string>

using namespace platform::text;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

} // namespace

TEST(Cp1251, HighHalfMatchesTheCodePageByteForByte)
{
    // 0x80..0xBF in byte order (0x98 has no character); 0xA0 is NBSP, 0xAD the soft hyphen.
    const std::string utf8 = "ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—™љ›њќћџ"
                             "\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї";
    std::string expected;
    for (int b = 0x80; b <= 0xBF; ++b)
        if (b != 0x98)
            expected += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1251(utf8), expected);
    EXPECT_EQ(cp1251ToUtf8(expected), utf8);
}

TEST(Cp1251, RussianAlphabet)
{
    std::string expected;
    for (int b = 0xC0; b <= 0xFF; ++b)
        expected += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1251("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя"),
              expected);
    EXPECT_EQ(w("Всего: 12,5 руб."),
              bytes({0xC2, 0xF1, 0xE5, 0xE3, 0xEE}) + ": 12,5 " + bytes({0xF0, 0xF3, 0xE1}) + ".");
}

TEST(Cp1251, EveryDefinedByteRoundTrips)
{
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        if (b == 0x98) {
            EXPECT_EQ(unicodeOf(0x98), U'\uFFFD');
            EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(one)), "?");
            continue;
        }
        bool ok = false;
        EXPECT_EQ(byteOf(unicodeOf(static_cast<unsigned char>(b)), &ok), b) << b;
        EXPECT_TRUE(ok);
        EXPECT_EQ(utf8ToCp1251(cp1251ToUtf8(one)), one) << b;
        EXPECT_EQ(fromQString(toQString(one)), one) << b;
    }
}

TEST(Cp1251, UnmappableCodePointsBecomeQuestionMarks)
{
    bool ok = true;
    EXPECT_EQ(byteOf(U'\u00E9', &ok), '?'); // é
    EXPECT_FALSE(ok);
    EXPECT_EQ(byteOf(U'\uFFFD', &ok), '?');
    EXPECT_FALSE(ok);
    EXPECT_EQ(byteOf(U'\u0098', &ok), '?');
    EXPECT_FALSE(ok);
    EXPECT_EQ(utf8ToCp1251("café 😀 ok"), "caf? ? ok");
    EXPECT_EQ(utf8ToCp1251("中文"), "??");
}

TEST(Cp1251, InvalidUtf8BecomesOneQuestionMarkPerBadSequence)
{
    struct Case
    {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {bytes({0x80}), "?"},                      // stray continuation
        {"a" + bytes({0xD0}), "a?"},               // cut at the end
        {bytes({0xD0}) + "b", "?b"},               // cut before ASCII
        {bytes({0xE2, 0x82}) + "x", "?x"},         // cut three-byte sequence
        {bytes({0xC0, 0xAF}), "??"},               // overlong "/" (C0 never valid)
        {bytes({0xE0, 0x80, 0xAF}), "???"},        // overlong three-byte
        {bytes({0xED, 0xA0, 0x80}), "???"},        // encoded surrogate
        {bytes({0xF4, 0x90, 0x80, 0x80}), "????"}, // above U+10FFFF
        {bytes({0xFF, 0xFE}), "??"},
        {bytes({0xD0, 0xD0, 0x90}), "?" + bytes({0xC0})}, // bad then good "А"
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8ToCp1251(c.input), c.expected);
}

TEST(Cp1251, QtBoundary)
{
    const std::string text = w("Заказ №5 — «Ёлка»");
    const QString shown = toQString(text);
    EXPECT_EQ(shown, QStringLiteral(u"Заказ №5 — «Ёлка»"));
    EXPECT_EQ(fromQString(shown), text);
    EXPECT_EQ(toQString(std::string("a\0b", 3)).size(), 3);
    // A lone surrogate and a pair both end as one '?'.
    const char16_t lone[] = {u'x', 0xD800, u'y'};
    EXPECT_EQ(fromQString(QStringView(lone, 3)), "x?y");
    EXPECT_EQ(fromQString(QStringView(u"a😀b")), "a?b");
    EXPECT_TRUE(toQString({}).isEmpty());
}
