#include "app/ipmprice/PriceListLineAssembler.h"
#include "app/ipmprice/PriceListTextLine.h"
#include "app/ipmprice/PriceNumberReadings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>
#include "platform/text/RealText.h"

namespace {

using app::PriceListLineAssembler;
using app::PriceListTextLine;

TEST(PriceNumberReadings, WholeNumbers)
{
    const struct
    {
        const char* text;
        int32_t value;
    } cases[] = {
        {"00123", 123},
        {"  42", 42},
        {"-7", -7},
        {"+7", 0},
        {"12,50", 12},
        {"12.99", 12},
        {"-12.99", -12},
        {"1.5e1", 15},
        {"1,5e2", 150},
        {"2.5E-1", 0},
        {"5e2", 5},
        {"7x", 7},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"\t5", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"1.e2", 100},
        {"3.7e", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::readWholeNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(PriceNumberReadings, DecimalNumbers)
{
    const struct
    {
        const char* text;
        double value;
    } cases[] = {
        {"12.50", 12.5}, {"12,50", 12},    {" \t\r\n\v\f3.25", 3.25},
        {"+4", 4},       {"-4.5", -4.5},   {".5", 0.5},
        {"1e3", 1000},   {"1.5E-1", 0.15}, {"2e", 2},
        {"2e+", 2},      {"", 0},          {"руб", 0},
        {"7.", 7},       {"0x10", 0},      {"inf", 0},
        {"1 000", 1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(app::readDecimalNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(PriceNumberReadings, FilteredDecimalNumbers)
{
    const struct
    {
        const char* text;
        double value;
    } cases[] = {
        {"0.5", 0.5},   {"0,250", 250},  {"1.5 kg", 1.5}, {"-2.5", -2.5},
        {" -2.5", 2.5}, {"1.2.3", 1.23}, {"1e-2", 0.01},  {"1e2e3", 1e23},
        {"3-4", 34},    {"", 0},         {"abc", 0},      {"1 2", 12},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(app::readFilteredDecimalNumber(c.text), c.value) << '"' << c.text << '"';
}

std::vector<std::string> assemble(const std::string& bytes)
{
    PriceListLineAssembler assembler;
    std::vector<std::string> lines;
    for (const char c : bytes)
        if (assembler.take(static_cast<uint8_t>(c)))
            lines.emplace_back(assembler.line());
    return lines;
}

TEST(PriceListLineAssembler, CrLfAndLfGiveTheSameLinesAndAnUnendedLastLineIsNotRead)
{
    const std::vector<std::string> expected{"a;b", "", "c"};
    EXPECT_EQ(assemble("a;b\r\n\r\nc\r\nd"), expected);
    EXPECT_EQ(assemble("a;b\n\nc\nd"), expected);
    EXPECT_EQ(assemble("a\r;b\n\nc\r\r\n"), expected);
    EXPECT_TRUE(assemble("no end").empty());
}

TEST(PriceListLineAssembler, KeepsTheFirstFiveHundredBytesOfALine)
{
    const std::string longLine = std::string(500, 'x') + std::string(100, 'y');
    const auto lines = assemble(longLine + "\nnext\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(500, 'x'));
    EXPECT_EQ(lines[1], "next");
}

TEST(PriceListTextLine, ReadsTheTenFields)
{
    const auto line = PriceListTextLine::parse("7;A-1;Bolt;Car;10;12.50;Maker;;0.5;G");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->fields, 10);
    EXPECT_EQ(line->code, 7);
    EXPECT_EQ(line->designation, "A-1");
    EXPECT_EQ(line->name, "Bolt");
    EXPECT_EQ(line->applicability, "Car");
    EXPECT_EQ(line->packQuantity, 10);
    EXPECT_DOUBLE_EQ(line->price, 12.5);
    EXPECT_EQ(line->manufacturer, "Maker");
    EXPECT_EQ(line->secondCode, 7);
    EXPECT_DOUBLE_EQ(line->weight, 0.5);
    EXPECT_EQ(line->group, "G");
}

TEST(PriceListTextLine, BlanksAndLengths)
{
    // Leading blanks of the line go, those of a field stay; trailing blanks go everywhere.
    const auto line = PriceListTextLine::parse("   00123;  A  ; " + std::string(60, 'n') +
                                               ";;70000;12,50; Mk ;456;0,250;  G  ");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->code, 123);
    EXPECT_EQ(line->designation, "  A");
    EXPECT_EQ(line->name, " " + std::string(49, 'n'));
    EXPECT_EQ(line->packQuantity, 32767); // held at the field's limit, as the code is
    EXPECT_DOUBLE_EQ(line->price, 12);
    EXPECT_EQ(line->manufacturer, " Mk");
    EXPECT_EQ(line->secondCode, 456);
    EXPECT_DOUBLE_EQ(line->weight, 250);
    EXPECT_EQ(line->group, "  G");
}

TEST(PriceListTextLine, ExtraSeparatorsAndTheGroup)
{
    // Anything between the ninth separator and the last one is ignored.
    const auto line = PriceListTextLine::parse("1;2;3;4;5;6;7;8;9;ignored;also;group");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->secondCode, 8);
    EXPECT_DOUBLE_EQ(line->weight, 9);
    EXPECT_EQ(line->group, "group");
}

TEST(PriceListTextLine, WhatLooksLikeAPriceLine)
{
    for (const char* line :
         {"1006;D;N;A;2;4741.93;M;;7.829;G", "  -7 ;;;;;;;;;", "0;;;;;;;;;;;extra"})
        EXPECT_TRUE(app::looksLikePriceLine(line)) << line;
    // Too few separators, a code that is no whole number in digits.
    for (const char* line : {"1006;D;N;A;2;4741.93;M;;7.829", "+5;;;;;;;;;", "12.5;;;;;;;;;",
                             "7x;;;;;;;;;", " ;;;;;;;;;", "#Заказчик:;;;;;;;;;", "- 7;;;;;;;;;"})
        EXPECT_FALSE(app::looksLikePriceLine(line)) << line;
}

TEST(PriceListTextLine, ShortAndEmptyLines)
{
    EXPECT_FALSE(PriceListTextLine::parse(""));
    EXPECT_FALSE(PriceListTextLine::parse("     "));

    const auto shorter = PriceListTextLine::parse("5;X;Name");
    ASSERT_TRUE(shorter);
    EXPECT_EQ(shorter->fields, 3);
    EXPECT_EQ(shorter->code, 5);
    EXPECT_EQ(shorter->designation, "X");
    EXPECT_EQ(shorter->name, "");      // field 3 needs a third separator
    EXPECT_EQ(shorter->group, "Name"); // the text after the last separator
    EXPECT_EQ(shorter->manufacturer, "");
    EXPECT_DOUBLE_EQ(shorter->price, 0);
    EXPECT_EQ(shorter->secondCode, 5);

    const auto bare = PriceListTextLine::parse("just text");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->code, 0);
    EXPECT_EQ(bare->group, "just text");
}

TEST(PriceListTextLine, AFieldHoldsAtMostTwoHundredFiftyCharacters)
{
    // The weight field is cut before it is filtered: digits beyond 250 are never read.
    const auto line = PriceListTextLine::parse("1;;;;;;;;" + std::string(250, '1') + "9;G");
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ(line->weight, platform::text::textToReal(std::string(250, '1')));
}

} // namespace

TEST(PriceListTextLine, NumbersBeyondTheirFieldsAreHeldAtItsLimits)
{
    constexpr double largest = std::numeric_limits<double>::max();
    const std::string digits400 = std::string(400, '9');
    const auto huge =
        PriceListTextLine::parse("7;A;N;C;-70000;-1e309;M;" + digits400 + ";1e999;G");
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->packQuantity, -32768);
    EXPECT_EQ(huge->price, -largest); // not minus infinity
    EXPECT_EQ(huge->secondCode, 2147483647);
    EXPECT_EQ(huge->weight, largest); // not 0
    EXPECT_EQ(app::readDecimalNumber(digits400), largest);
    EXPECT_EQ(app::readDecimalNumber("-" + digits400 + ".5"), -largest);
    EXPECT_EQ(app::readWholeNumber(digits400), 2147483647);
    EXPECT_EQ(app::readWholeNumber("-" + digits400), -2147483647 - 1);
    EXPECT_EQ(app::readDecimalNumber("1e-400"), 0.0);
    EXPECT_FALSE(std::isinf(app::readFilteredDecimalNumber("1e999")));
}

TEST(PriceListTextLine, ANulByteEndsAText)
{
    const std::string text("7;AB\0CD;Name\0tail;C\0;1;2;Mk\0x;;;G\0roup", 38);
    const auto line = PriceListTextLine::parse(text);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->designation, "AB");
    EXPECT_EQ(line->name, "Name");
    EXPECT_EQ(line->applicability, "C");
    EXPECT_EQ(line->manufacturer, "Mk");
    EXPECT_EQ(line->group, "G");
    EXPECT_EQ(line->code, 7);
    EXPECT_DOUBLE_EQ(line->price, 2);
}

