#include "platform/text/Collation.h"
#include "platform/text/CaseTable.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace platform::text;

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

std::vector<std::string> sortedBy(std::vector<std::string> items,
                                  int (*compare)(std::string_view, std::string_view))
{
    std::stable_sort(
        items.begin(), items.end(),
        [compare](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
    return items;
}

std::vector<std::string> cp(std::initializer_list<const char*> utf8)
{
    std::vector<std::string> out;
    for (const char* s : utf8)
        out.push_back(w(s));
    return out;
}

} // namespace

TEST(Collation, WeightsArePermutation)
{
    std::set<int> seen;
    for (int b = 0; b < 256; ++b)
        seen.insert(collationWeight(static_cast<unsigned char>(b)));
    EXPECT_EQ(seen.size(), 256u);
}

TEST(Collation, ClassOrder)
{
    // control < blank < punctuation < symbols < digits < Latin < Cyrillic
    const std::vector<std::string> chain = {
        "\x01", " !", "!", "~",    w("№"), "0",    "9",    "A",
        "a",    "Z",  "z", w("А"), w("а"), w("Я"), w("я"),
    };
    for (std::size_t i = 1; i < chain.size(); ++i)
        EXPECT_LT(compareCollated(chain[i - 1], chain[i]), 0) << i;
}

TEST(Collation, CyrillicAlphabetWithYoAfterYe)
{
    const std::string alphabet = w("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    for (std::size_t i = 1; i < alphabet.size(); ++i) {
        EXPECT_LT(collationWeight(alphabet[i - 1]), collationWeight(alphabet[i])) << i;
        // The small letter sits right after its capital.
        const auto capital = static_cast<unsigned char>(alphabet[i]);
        EXPECT_EQ(collationWeight(toLower(capital)), collationWeight(capital) + 1);
    }
    EXPECT_EQ(sortedBy(cp({"Ж", "ёж", "Ель", "ель", "Ёлка", "жук", "Еж"}), compareCollated),
              cp({"Еж", "Ель", "ель", "Ёлка", "ёж", "Ж", "жук"}));
    // Ukrainian and other letters of the code page fall inside the alphabet.
    EXPECT_LT(compareCollated(w("Г"), w("Ґ")), 0);
    EXPECT_LT(compareCollated(w("Ґ"), w("Д")), 0);
    EXPECT_LT(compareCollated(w("И"), w("І")), 0);
    EXPECT_LT(compareCollated(w("Ї"), w("Й")), 0);
}

TEST(Collation, CaseSensitiveAndNoCase)
{
    struct Case
    {
        const char* a;
        const char* b;
        int collated;
        int noCase;
    };
    const Case cases[] = {
        {"abc", "ABC", 1, 0},   {"ёлка", "ЁЛКА", 1, 0}, {"ЁЛКА", "ёлка", -1, 0},
        {"еж", "ЁЖ", -1, -1},   {"Ab", "aa", -1, 1},    // first difference decides: A before a
        {"ab", "abc", -1, -1},  {"abc  ", "abc", 0, 0}, // trailing blanks ignored
        {"ABC ", "abc", -1, 0}, {"  ", "", 0, 0},       {" a", "a", -1, -1}, // leading blanks count
        {"a b", "ab", -1, -1},  {"10", "9", -1, -1},    {"Z", "А", -1, -1},
        {"", "", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sign(compareCollated(w(c.a), w(c.b))), c.collated) << c.a << " / " << c.b;
        EXPECT_EQ(sign(compareCollated(w(c.b), w(c.a))), -c.collated) << c.b << " / " << c.a;
        EXPECT_EQ(sign(compareNoCase(w(c.a), w(c.b))), c.noCase) << c.a << " / " << c.b;
        EXPECT_EQ(sign(compareNoCase(w(c.b), w(c.a))), -c.noCase) << c.b << " / " << c.a;
    }
}

TEST(Collation, NoCaseFollowsTheCaseTable)
{
    EXPECT_EQ(compareNoCase(w("їжак"), w("ЇЖАК")), compareNoCase(w("ї"), w("Ї")));
    EXPECT_NE(compareNoCase(w("ї"), w("Ї")), 0); // not in the default table
    ASSERT_TRUE(setCaseTable(w("ЇЖАК,їжак")));
    EXPECT_EQ(compareNoCase(w("їжак"), w("ЇЖАК")), 0);
    resetCaseTable();
}

TEST(Collation, ClipAndEqualClipped)
{
    EXPECT_EQ(clip("ab  "), "ab");
    EXPECT_EQ(clip("   "), "");
    EXPECT_EQ(clip(" a"), " a");
    EXPECT_EQ(clip("a\t"), "a\t");
    EXPECT_TRUE(equalClipped("abc   ", "abc"));
    EXPECT_FALSE(equalClipped("abc", "ABC"));
    EXPECT_FALSE(equalClipped(" abc", "abc"));
    EXPECT_TRUE(equalClipped("", "    "));
}

// Every pair of short texts over bytes that sort around the blank (controls, the no-break
// space), letters of both cases and trailing blanks compares as the texts without their
// trailing blanks compared weight by weight.
TEST(Collation, TrailingBlanksAreIgnoredWhereverTheTextsPart)
{
    const std::string alphabet = std::string(" \x01") + "aAb\xA0" + w("ёЁ");
    const auto reference = [](std::string a, std::string b, bool noCase) {
        while (!a.empty() && a.back() == ' ')
            a.pop_back();
        while (!b.empty() && b.back() == ' ')
            b.pop_back();
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
            auto ca = static_cast<unsigned char>(a[i]);
            auto cb = static_cast<unsigned char>(b[i]);
            if (noCase) {
                ca = toUpper(ca);
                cb = toUpper(cb);
            }
            if (collationWeight(ca) != collationWeight(cb))
                return collationWeight(ca) < collationWeight(cb) ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
    };
    std::vector<std::string> texts{""};
    for (std::size_t length = 1; length <= 3; ++length) {
        const std::size_t before = texts.size();
        for (std::size_t t = 0; t < before; ++t)
            if (texts[t].size() == length - 1)
                for (const char c : alphabet)
                    texts.push_back(texts[t] + c);
    }
    for (const std::string& a : texts)
        for (const std::string& b : texts) {
            ASSERT_EQ(sign(compareCollated(a, b)), reference(a, b, false)) << a << "|" << b;
            ASSERT_EQ(sign(compareNoCase(a, b)), reference(a, b, true)) << a << "|" << b;
        }
}
