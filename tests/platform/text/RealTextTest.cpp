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
