#include "app/ordertext/OrderNumbers.h"
#include "app/ordertext/OrderTextFormat.h"
#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace app;
using platform::text::w;

namespace {

struct NumberCase
{
    const char* text;
    double value;
};

} // namespace

TEST(OrderNumbers, DecimalNumberReadsCodeAndQuantityFields)
{
    const NumberCase cases[] = {
        {"2.9", 2.9},   {"  17", 17}, {"-3", -3},  {"+5", 0},     {"12,5", 12.5},
        {"1.5e2", 150}, {"1e2", 1},   {"7abc", 7}, {"", 0},       {"шт", 0},
        {"-", 0},       {".5", 0.5},  {"3.", 3},   {"1.5e", 1.5}, {"1.5E-1x", 0.15},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(decimalNumber(w(c.text)), c.value) << c.text;
}

TEST(OrderNumbers, LeadingRealReadsPriceAndSumFields)
{
    const NumberCase cases[] = {
        {"12.5", 12.5}, {"12,5", 12}, {"+2.5", 2.5}, {" -0.35", -0.35}, {"1e2", 100},
        {"1.5E+1", 15}, {"abc", 0},   {"", 0},       {"5e", 5},         {"0x10", 0},
        {"inf", 0},     {"nan", 0},   {"100", 100},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingReal(c.text), c.value) << c.text;
    // Only the first 39 characters are read: a 40th digit does not count.
    EXPECT_DOUBLE_EQ(leadingReal(std::string(39, '0') + "7"), 0);
}

TEST(OrderNumbers, CompleteNumberNeedsTheWholeText)
{
    for (const char* text : {"105", "109.7", "-3", "+4", "1e5", "108   ", "  12"})
        EXPECT_TRUE(isCompleteNumber(text)) << text;
    for (const char* text : {"103x", "", "   ", "107,0", "1 2", "0x1A", "inf", "1e", "."})
        EXPECT_FALSE(isCompleteNumber(text)) << text;
    EXPECT_FALSE(isCompleteNumber(std::string(40, '1')));
}

TEST(OrderNumbers, TruncationKeepsTheFieldRanges)
{
    EXPECT_EQ(truncatedLong(2.9), 2);
    EXPECT_EQ(truncatedLong(-2.9), -2);
    EXPECT_EQ(truncatedLong(1e30), 2147483647);
    EXPECT_EQ(truncatedLong(-1e30), -2147483647 - 1);
    // A 16-bit field holds its limits instead of the low bits (70000 once became 4464).
    EXPECT_EQ(truncatedShort(70000), 32767);
    EXPECT_EQ(truncatedShort(40000), 32767);
    EXPECT_EQ(truncatedShort(-40000), -32768);
    EXPECT_EQ(truncatedShort(1e300), 32767);
    EXPECT_EQ(truncatedShort(-1.5), -1);
    EXPECT_EQ(truncatedShort(32767.9), 32767);
}

TEST(OrderNumbers, NumbersBeyondARealAreHeldAtItsLimit)
{
    constexpr double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(leadingReal("1e309"), largest);
    EXPECT_EQ(leadingReal("-1e309"), -largest);
    EXPECT_EQ(leadingReal("1e-400"), 0.0);
    EXPECT_EQ(decimalNumber("1.5e400"), largest);
    EXPECT_EQ(decimalNumber("-1.5e400"), -largest);
    EXPECT_EQ(truncatedLong(decimalNumber("-1.5e400")), -2147483647 - 1);
}

TEST(OrderTextFormat, ReaderRefusesNegativeQuantitiesAndEndsTextsAtNul)
{
    EXPECT_FALSE(orderLineRecord("5;O;N;P;-1;2;3"));
    EXPECT_FALSE(orderLineRecord("5;O;N;P;-2.5;2;3"));
    // Less than one in magnitude truncates to 0, which is a quantity like any other.
    const auto zero = orderLineRecord("5;O;N;P;-0.5;2;3");
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->KOL, 0);
    const auto big = orderLineRecord("5;O;N;P;70000;1e309;-1e309");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->KOL, 32767);
    EXPECT_EQ(double{big->CENA}, std::numeric_limits<double>::max());
    EXPECT_EQ(double{big->SUMMA}, -std::numeric_limits<double>::max());

    const auto nul = orderLineRecord(std::string("5;AB\0CD;N\0;\0P;1;2;3", 19));
    ASSERT_TRUE(nul);
    EXPECT_EQ(nul->OBOZ.str(), "AB");
    EXPECT_EQ(nul->NAIM.str(), "N");
    EXPECT_EQ(nul->PROIZV.str(), "");
    // A NUL inside the code leaves no complete number: the line is dropped.
    EXPECT_FALSE(orderLineRecord(std::string("5\0;O;N;P;1;2;3", 14)));
}

TEST(OrderTextFormat, LinesAreCutToTheBufferAndLoseTrailingBlanks)
{
    EXPECT_EQ(orderFileLine("#ИНН: "), "#ИНН:\r\n");
    EXPECT_EQ(orderFileLine(""), "\r\n");
    EXPECT_EQ(orderFileLine(std::string(300, 'x')), std::string(250, 'x') + "\r\n");
    EXPECT_EQ(orderFileLine(std::string(249, 'x') + "  y"), std::string(249, 'x') + "\r\n");
}

TEST(OrderTextFormat, ReaderSplitsLinesAsTheFileHasThem)
{
    const auto lines = orderFileLines("a\r\nb\nc\r\r\nd");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(orderFileLines(std::string(600, 'z') + "\n")[0].size(), 500u);
}

TEST(OrderTextFormat, ReaderLineGivesCleanRecord)
{
    const auto record = orderLineRecord("5;O;N;P;1;2;3");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->UPAK, 0);
    EXPECT_TRUE(record->OBOZ == "O");
    EXPECT_FALSE(orderLineRecord("   #5;O;N;P;1;2;3"));
    EXPECT_FALSE(orderLineRecord("5"));
    const auto longText = orderLineRecord("6;" + std::string(80, 'q') + ";N;P;1;2;3");
    ASSERT_TRUE(longText);
    EXPECT_EQ(longText->OBOZ.str(), std::string(50, 'q'));
}
