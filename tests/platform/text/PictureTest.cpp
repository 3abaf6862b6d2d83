#include "platform/text/Picture.h"
#include "platform/text/Cp1251.h"
#include "platform/text/DayNumber.h"

#include <gtest/gtest.h>

#include <limits>

using namespace platform::text;

TEST(Picture, Numbers)
{
    struct Case
    {
        double value;
        const char* picture;
        const char* text;
    };
    const Case cases[] = {
        {12, "n_8", "      12"},
        {-12, "n_8", "     -12"},
        {0, "n_8", "       0"},
        {12.5, "n_8", "      13"}, // half away from zero
        {-12.5, "n_8", "     -13"},
        {12.49, "n_8", "      12"},
        {1234.5, "n_11.2", "    1234.50"},
        {0.335 * 3, "n_11.2", "       1.01"},
        {1.005, "n_11.2", "       1.01"},
        {2.675, "n_11.2", "       2.68"},
        {0.125, "n_11.2", "       0.13"},
        {-0.125, "n_11.2", "      -0.13"},
        {0.004, "n_11.2", "       0.00"},
        {-0.004, "n_11.2", "       0.00"}, // no "-0.00"
        {9.995, "n_11.2", "      10.00"},
        {99999999.995, "n_11.2", "###########"}, // rounds up to 12 characters
        {99999999.99, "n_11.2", "99999999.99"},
        {1e9, "n_11.2", "###########"},
        {1e9, "n_14", "    1000000000"},
        {1e9, "n_14.2", " 1000000000.00"},
        {12345.67891, "n_11.4", " 12345.6789"},
        {0.00005, "n_11.4", "     0.0001"},
        {3.25, "n_11.4", "     3.2500"},
        {99999, "n_5", "99999"},
        {100000, "n_5", "#####"},
        {-9999, "n_5", "-9999"},
        {-10000, "n_5", "#####"},
        {7, "n_4", "   7"},
        {1e20, "n_4", "####"},
        {std::numeric_limits<double>::infinity(), "n_4", "####"},
        {std::numeric_limits<double>::quiet_NaN(), "n_4", "####"},
        {12, "n8", "      12"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatNumber(c.value, c.picture), c.text) << c.value << ' ' << c.picture;
        EXPECT_EQ(format(c.value, c.picture), c.text) << c.value << ' ' << c.picture;
    }
}

TEST(Picture, BadNumberPictureFallsBackToTheDefaultForm)
{
    EXPECT_EQ(formatNumber(12.5, "n_"), "12.5");
    EXPECT_EQ(formatNumber(12.5, "n_8x"), "12.5");
    EXPECT_EQ(formatNumber(12.5, "n_99999999999"), "12.5");
    EXPECT_EQ(formatNumber(12.5, "x"), "12.5");
    EXPECT_EQ(format(12.5, ""), "12.5");
}

TEST(Picture, Text)
{
    EXPECT_EQ(formatText("abc", "@s8"), "abc     ");
    EXPECT_EQ(formatText("abcdefghij", "@s8"), "abcdefgh");
    EXPECT_EQ(formatText("", "@s3"), "   ");
    EXPECT_EQ(formatText(w("Ёлка"), "@s5"), w("Ёлка "));
    EXPECT_EQ(formatText("abc", "@s"), "abc");
    EXPECT_EQ(format(12.5, "@s8"), "12.5    ");
}

TEST(Picture, Dates)
{
    EXPECT_EQ(formatDate(4, "d6."), " 1.01.1801");
    EXPECT_EQ(formatDate(dayNumber(2026, 12, 8), "d6."), " 8.12.2026");
    EXPECT_EQ(formatDate(dayNumber(2000, 2, 29), "d6."), "29.02.2000");
    EXPECT_EQ(formatDate(dayNumber(9999, 12, 31), "d6."), "31.12.9999");
    EXPECT_EQ(formatDate(0, "d6."), "          ");
    EXPECT_EQ(formatDate(3, "d6."), "          ");
    EXPECT_EQ(format(82525, "d6."), " 8.12.2026");
    EXPECT_EQ(format(1e12, "d6."), "          ");
}

TEST(Picture, Times)
{
    EXPECT_EQ(formatTime(clockValue(9, 5), "T1"), " 9:05");
    EXPECT_EQ(formatTime(clockValue(0, 0), "T1"), " 0:00");
    EXPECT_EQ(formatTime(clockValue(23, 59, 59, 99), "T1"), "23:59"); // no rounding up
    EXPECT_EQ(formatTime(clockValue(10, 30, 59), "T1"), "10:30");
    EXPECT_EQ(formatTime(0, "T1"), "     ");
    EXPECT_EQ(formatTime(8640001, "T1"), "     ");
    EXPECT_EQ(format(clockValue(14, 7), "T1"), "14:07");
}

TEST(Picture, PagePattern)
{
    const std::string pattern = w("pСтр  <<<#p");
    EXPECT_EQ(formatPage(1, pattern), w("Стр  1"));
    EXPECT_EQ(formatPage(7, pattern), w("Стр  7"));
    EXPECT_EQ(formatPage(42, pattern), w("Стр  42"));
    EXPECT_EQ(formatPage(9999, pattern), w("Стр  9999"));
    EXPECT_EQ(formatPage(12345, pattern), w("Стр  12345")); // more places than drawn: nothing lost
    EXPECT_EQ(format(3, pattern), w("Стр  3"));
    // Text after the number keeps its place.
    EXPECT_EQ(formatPage(7, "pPage <<<# of 9p"), "Page 7    of 9");
    EXPECT_EQ(formatPage(7, "no number"), "no number");
}
