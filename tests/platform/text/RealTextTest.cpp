#include "platform/text/RealText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace platform::text;

TEST(RealText, DefaultTextForm)
{
    struct Case
    {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {12.5, "12.5"},
        {100, "100"},
        {0.35, "0.35"},
        {10.0, "10"},
        {-3, "-3"},
        {0, "0"},
        {-0.0, "0"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {-1.0 / 3, "-0.333333333333333"},
        {0.1 + 0.2, "0.3"},
        {0.335 * 3, "1.005"},
        {1234.5 * 100, "123450"},
        {123456789.123, "123456789.123"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1000000000000000"},
        {9007199254740993.0, "9007199254740990"}, // beyond 15 digits
        {1e20, "100000000000000000000"},
        {1e21, "1e+21"},
        {-2.5e22, "-2.5e+22"},
        {0.000001, "0.000001"},
        {0.0000015, "0.0000015"},
        {1.5e-7, "1.5e-07"},
        {1e-300, "1e-300"},
        {std::numeric_limits<double>::max(), "1.79769313486232e+308"},
        {0.9999999999999999, "1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(realToText(c.value), c.text) << c.text;
}

TEST(RealText, NonFiniteValuesAreNotDisguised)
{
    EXPECT_EQ(realToText(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(realToText(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(realToText(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(RealText, ReadsTheLeadingNumberAsTheProgramWritesIt)
{
    struct Case
    {
        const char* text;
        double value;
        std::size_t used;
    };
    const Case cases[] = {
        {"14225.79", 14225.79, 8},   {"  12.5 kg", 12.5, 6}, {"+5", 5, 2},      {"-.5", -0.5, 3},
        {"3.", 3, 2},                {"1.5e2x", 150, 5},     {"1.5e", 1.5, 3},  {"1E-1", 0.1, 4},
        {"", 0, 0},                  {"abc", 0, 0},          {"+-1", 0, 0},     {"-", 0, 0},
        {".", 0, 0},                 {"12,5", 12, 2},        {"\t7\n", 7, 2},   {"-0", -0.0, 2},
        {"1e-400", 0, 6},            {"0.5e-330", 0, 8},
    };
    for (const Case& c : cases) {
        const RealReading reading = readReal(c.text);
        EXPECT_EQ(reading.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(reading.used, c.used) << '"' << c.text << '"';
        EXPECT_EQ(textToReal(c.text), c.value) << '"' << c.text << '"';
    }
    // Beyond the range of a double: an infinity of the written sign, as the C library reads it.
    EXPECT_EQ(textToReal("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(textToReal("-" + std::string(400, '9')), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(textToReal("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_TRUE(std::isnan(textToReal("nan")));

    EXPECT_EQ(wholeTextToReal(" 4741.93 "), 4741.93);
    EXPECT_EQ(wholeTextToReal("4741.93 руб"), std::nullopt);
    EXPECT_EQ(wholeTextToReal("  "), std::nullopt);
}

TEST(RealText, FixedPlacesRoundAsTheCLibraryDoes)
{
    struct Case
    {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {2.5, 2, "2.50"},           {-0.004, 2, "-0.00"},   {14225.79, 2, "14225.79"},
        {23.487, 4, "23.4870"},     {0.125, 2, "0.12"},     {2.675, 2, "2.67"},
        {1e20, 0, "100000000000000000000"},                 {358894.08, 2, "358894.08"},
        {4741.93, 6, "4741.930000"}, {7, -1, "7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(realFixedText(c.value, c.decimals), c.text) << c.text;
    EXPECT_EQ(realFixedText(std::numeric_limits<double>::infinity(), 2), "inf");
}
