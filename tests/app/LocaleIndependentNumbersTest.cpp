#include "app/browsepriosn/RealArithmetic.h"
#include "app/dictionary/Records.h"
#include "app/ordertext/OrderTextFormat.h"
#include "platform/automation/AutomationValue.h"
#include "platform/text/RealText.h"
#include "platform/ui/VariableBinding.h"
#include "platform/ui/list/RecordFields.h"
#include "tests/support/CommaLocale.h"

#include <gtest/gtest.h>

#include <string>

// Under a locale whose decimal point is a comma (the C library's numeric rules as Qt leaves
// them in a Russian environment) every layer still reads and writes "." and keeps the kopecks.
TEST(LocaleIndependentNumbers, EveryLayerKeepsThePointUnderACommaLocale)
{
    const testsupport::CommaLocale comma;
    if (!comma.available())
        GTEST_SKIP() << "no locale with a decimal comma is installed (scripts/setup makes one)";

    EXPECT_EQ(platform::text::textToReal("4741.93"), 4741.93);
    EXPECT_EQ(platform::text::realFixedText(14225.79, 2), "14225.79");
    EXPECT_EQ(app::roundHalfUp(3 * 4741.93, 2), 14225.79);
    EXPECT_EQ(app::roundHalfUp(3 * 7.829, 4), 23.487);

    double real = 0;
    platform::ui::NumberBinding<double> binding(reinterpret_cast<std::byte*>(&real));
    binding.setText("14225.79");
    EXPECT_EQ(real, 14225.79);
    EXPECT_EQ(binding.text(), "14225.79");
    std::string variable;
    platform::ui::StringBinding textBinding(variable);
    textBinding.setNumber(23.487);
    EXPECT_EQ(variable, "23.487000");

    app::KorzakRecord line;
    line.KOD = 1008;
    line.KOL = 3;
    line.CENA = 4741.93;
    line.SUMMA = 14225.79;
    const std::string written = app::orderBasketLine(line);
    EXPECT_NE(written.find(";3;4741.93;14225.79"), std::string::npos) << written;
    const auto back = app::orderLineRecord(written);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->SUMMA, 14225.79);

    EXPECT_EQ(platform::automation::AutomationValue::text("14225.79").toNumber(), 14225.79);
}
