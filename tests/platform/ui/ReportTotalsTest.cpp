#include "platform/ui/report/ReportTotals.h"
#include "platform/ui/report/ReportDefinition.h"
#include "platform/ui/report/ReportItemText.h"

#include "platform/text/Cp1251.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform::ui;
using platform::text::w;

namespace {

using Texts = std::vector<std::string>;

// What a footer totalling one source as sum, average, maximum, minimum and count prints after
// details with these values.
Texts footerAfter(const std::vector<ReportValue>& details)
{
    ReportDefinition definition;
    definition.bands.push_back({ReportBandKind::GroupFooter, 0, {}});
    for (ReportTotalKind kind :
         {ReportTotalKind::Sum, ReportTotalKind::Average, ReportTotalKind::Maximum,
          ReportTotalKind::Minimum, ReportTotalKind::Count})
        definition.bands[0].items.push_back(
            {ReportItemKind::Field, 0, 0, 0, 0, "", "K:SUMMA", "n_11.2", kind});
    ReportTotals totals(definition);
    ReportValue current;
    const ReportValueSource source = [&current](std::string_view) { return current; };
    for (const ReportValue& value : details) {
        current = value;
        totals.addDetail(source);
    }
    Texts texts;
    for (const ReportItem& item : definition.bands[0].items)
        texts.push_back(reportItemText(item, source, totals, 1));
    return texts;
}

ReportValue number(double value)
{
    return ReportValue::ofNumber(value);
}

TEST(ReportTotalsTest, FiguresOfThePrintedDetails)
{
    EXPECT_EQ(footerAfter({number(10.00), number(2.50), number(0.35)}).at(0), "      12.85");
    // The maximum and minimum start from the first value, not from 0.
    EXPECT_EQ(footerAfter({number(-5), number(-2), number(-7)}),
              (Texts{"     -14.00", "      -4.67", "      -2.00", "      -7.00", "       3.00"}));
    EXPECT_EQ(footerAfter({}), Texts(5, "       0.00"));
    // A sum kept as text adds by its number; a detail without a value adds 0 but is counted.
    EXPECT_EQ(footerAfter({ReportValue::ofText("  2.50"), ReportValue{}, ReportValue::ofText("abc"),
                           number(1.5)}),
              (Texts{"       4.00", "       1.00", "       2.50", "       0.00", "       4.00"}));
}

TEST(ReportItemTextTest, FieldsThroughTheirPictures)
{
    const ReportDefinition definition;
    const ReportTotals totals(definition);
    const ReportValueSource source = [](std::string_view name) {
        if (name == "K:NAIM")
            return ReportValue::ofText(w("Фильтр масляный"));
        return name == "K:CENA" ? ReportValue::ofText("99.5") : ReportValue{};
    };
    auto text = [&](const std::string& use, const std::string& picture,
                    ReportTotalKind total = ReportTotalKind::None) {
        const ReportItem field{ReportItemKind::Field, 0, 0, 0, 0, "", use, picture, total};
        return reportItemText(field, source, totals, 12);
    };
    EXPECT_EQ(text("K:NAIM", "@s6"), w("Фильтр"));
    EXPECT_EQ(text("K:NAIM", ""), w("Фильтр масляный"));
    EXPECT_EQ(text("K:CENA", "n_11.2"), "      99.50");
    // With no record behind it a field prints nothing, whatever its picture.
    EXPECT_EQ(text("REK:NAIM", "n_11.2"), "");
    EXPECT_EQ(text("", w("pСтр  <<<#p"), ReportTotalKind::PageNumber), w("Стр  12"));
}

} // namespace
