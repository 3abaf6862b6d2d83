#include "platform/ui/FieldPicture.h"
#include "platform/text/Cp1251.h"
#include "platform/text/FixedString.h"
#include "platform/ui/VariableBinding.h"

#include <gtest/gtest.h>

using namespace platform::ui;
using platform::text::FixedString;
using platform::text::w;

namespace {

TEST(FieldPictureTest, NumbersAreReadAsTyped)
{
    const std::pair<const char*, double> table[] = {
        {"12", 12}, {"  7", 7}, {"-3", -3}, {"5.75", 5.75}, {"5,5", 5.5},     {"12abc", 12},
        {"", 0},    {"abc", 0}, {"-", 0},   {" - 4", 0},    {"00000042", 42},
    };
    for (const auto& [typed, value] : table)
        EXPECT_DOUBLE_EQ(parseNumber(typed), value) << typed;
}

TEST(FieldPictureTest, DisplayAndEntryForms)
{
    int32_t code = 42;
    NumberBinding<int32_t> bound(code);
    EXPECT_EQ(FieldPicture("n8").display(bound), "      42");
    EXPECT_EQ(FieldPicture("n8").entryText(bound), "42");
    EXPECT_EQ(FieldPicture("n_8").display(bound), "      42");
    code = 0;
    EXPECT_EQ(FieldPicture("n8b").display(bound), "        ") << "blank when zero";
    EXPECT_EQ(FieldPicture("n8b").entryText(bound), "");
    EXPECT_EQ(FieldPicture("n8").entryText(bound), "0");
    double sum = 1234.5;
    NumberBinding<double> money(sum);
    EXPECT_EQ(FieldPicture("n11.2").display(money), "    1234.50");
    FixedString<10> name(w("Болт"));
    FixedStringBinding<10> text(name);
    EXPECT_EQ(FieldPicture("s6").display(text), w("Болт  "));
    EXPECT_EQ(FieldPicture("s6").entryText(text), w("Болт"));
    int32_t day = 82127; // 8 December 2025
    NumberBinding<int32_t> date(day);
    EXPECT_EQ(FieldPicture("d6.").display(date).size(), 10u);
    day = 0;
    EXPECT_EQ(FieldPicture("d6.").display(date), "") << "no date shows blank";
}

TEST(FieldPictureTest, TakingTypedTextFitsTheVariable)
{
    FixedString<4> shortText;
    FixedStringBinding<4> text(shortText);
    FieldPicture("s3").take(w("Гайка"), text);
    EXPECT_EQ(shortText.view(), w("Гай ")) << "cut to the picture, padded to the variable";
    uint8_t byte = 0;
    NumberBinding<uint8_t> small(byte);
    FieldPicture("n3").take("300", small);
    EXPECT_EQ(byte, 300 % 256) << "a byte keeps the low bits";
    int16_t sh = 0;
    NumberBinding<int16_t> rounded(sh);
    rounded.setNumber(2.5);
    EXPECT_EQ(sh, 3) << "halves round away from zero";
    rounded.setNumber(1e30);
    rounded.setNumber(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(sh, 0) << "no undefined conversion of huge or missing values";
    double real = 0;
    NumberBinding<double> exact(real);
    exact.setText("-0.125");
    EXPECT_EQ(exact.text(), "-0.125");
}

} // namespace
