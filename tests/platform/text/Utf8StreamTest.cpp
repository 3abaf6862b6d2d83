#include "platform/text/Cp1251.h"
#include "platform/text/Utf8Stream.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::text::Utf8Stream;
using platform::text::w;

struct Read
{
    bool valid;
    std::string converted;
};

// The bytes in two pieces split at `at`, as two reads of a file give them.
Read read(const std::string& bytes, std::size_t at)
{
    Utf8Stream stream;
    std::string out;
    stream.take(std::string_view(bytes).substr(0, at), &out);
    stream.take(std::string_view(bytes).substr(at), &out);
    stream.finish(&out);
    return {stream.valid(), out};
}

TEST(Utf8Stream, ValidBytesWhereverSplitAndEveryWayToBreakThem)
{
    const std::string text = "\xEF\xBB\xBF" "Ёж; €5 № Mégane Łódź 😀";
    for (std::size_t at = 0; at <= text.size(); ++at) {
        const Read got = read(text, at);
        EXPECT_TRUE(got.valid) << at;
        // The mark is dropped, accents the code page lacks are dropped, the rest is "?".
        EXPECT_EQ(got.converted, w("Ёж; €5 № Megane ?odz ?")) << at;
    }
    Utf8Stream counted;
    counted.take("plain ASCII;1;2\n");
    EXPECT_TRUE(counted.valid());
    EXPECT_EQ(counted.wideCharacters(), 0);
    counted.take("Ж");
    EXPECT_EQ(counted.wideCharacters(), 1);

    // Windows-1251 Cyrillic, a lone continuation byte, overlong forms, a surrogate, a code point
    // past U+10FFFF, bytes no UTF-8 holds, a character cut by another or by the end.
    for (const std::string& broken :
         {w("Деталь"), std::string("a\x80"), std::string("\xC0\x80"), std::string("\xE0\x80\xAF"),
          std::string("\xED\xA0\x80"), std::string("\xF4\x90\x80\x80"), std::string("\xF5\x80"),
          std::string("\xFF"), std::string("\xD0" "a"), std::string("\xE2\x82")}) {
        const Read got = read(broken, broken.size() / 2);
        EXPECT_FALSE(got.valid) << broken;
        EXPECT_NE(got.converted.find('?'), std::string::npos) << broken;
    }
    EXPECT_EQ(read("\xD0" "a", 1).converted, "?a"); // the byte after a cut character is kept
}

} // namespace
