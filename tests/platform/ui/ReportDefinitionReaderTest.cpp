#include "platform/ui/report/ReportDefinitionReader.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/DefinitionError.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

using namespace platform::ui;
using platform::text::w;

namespace {

ReportDefinition read(const char* json, std::string_view label = "P1$REPORT")
{
    return ReportDefinitionReader::readJson(QByteArray(json), label, "test.json");
}

std::string errorOf(const char* json)
{
    try {
        read(json);
    } catch (const DefinitionError& error) {
        return error.what();
    }
    return "no error";
}

TEST(ReportDefinitionReaderTest, OrderReportOfTheModuleFile)
{
    const char* data = std::getenv("QUELB_TEST_DATA");
    const ReportDefinition report = ReportDefinitionReader::readFile(
        QString::fromLocal8Bit(data ? data : "tests/data") + QStringLiteral("/reports/order.json"),
        "P1$REPORT");
    ASSERT_EQ(report.bands.size(), 4u);
    const ReportBand* footer = report.band(ReportBandKind::GroupFooter);
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->items.at(0).text, w("Всего:"));
    const ReportItem& sum = footer->items.at(1);
    EXPECT_EQ(sum.use, "K:SUMMA");
    EXPECT_EQ(sum.total, ReportTotalKind::Sum);
    EXPECT_EQ(sum.alignment, ReportAlignment::Right);
    EXPECT_EQ(report.band(ReportBandKind::PageFooter)->items.at(0).picture, w("pСтр  <<<#p"));

    // An item's font keeps the report's typeface and size where it names none.
    const ReportFont heading = report.fontOf(report.bands.at(0).items.at(0));
    EXPECT_EQ(heading.typeface, "Arial");
    EXPECT_EQ(heading.size, 12);
    EXPECT_TRUE(heading.bold);
    EXPECT_EQ(report.fontOf(footer->items.at(0)).size, 8);
}

TEST(ReportDefinitionReaderTest, FindsTheReportByLabelNextToTheWindows)
{
    const char* module = R"({"module": "quelbarto$quelb017",
        "windows": [{"label": "P1$PROGRESSWINDOW", "kind": "window"}],
        "reports": [{"label": "p1$report", "font": {"name": "Times New Roman", "weight": 700},
                     "bands": [{"kind": "detail", "height": 250,
                                "items": [{"kind": "box", "at": [1, 2, 3, 4]}]}]}]})";
    const ReportDefinition report = read(module);
    EXPECT_EQ(report.font.typeface, "Times New Roman");
    EXPECT_TRUE(report.font.bold);
    const ReportItem& box = report.bands.at(0).items.at(0);
    EXPECT_EQ(std::vector<int>({box.x, box.y, box.width, box.height}),
              std::vector<int>({1, 2, 3, 4}));
    EXPECT_THROW(read(module, "P1$PROGRESSWINDOW"), DefinitionError);
}

TEST(ReportDefinitionReaderTest, FaultsNameTheirPlace)
{
    EXPECT_EQ(errorOf("{").rfind("test.json: JSON error at offset 1: ", 0), 0u);
    EXPECT_EQ(errorOf(R"({"bands": [{"kind": "detail", "items": [{"kind": "field",
                 "use": "X", "total": "median"}]}]})"),
              "test.json: report P1$REPORT, band 1, item 1: unknown total \"median\"");
    EXPECT_EQ(errorOf(R"({"bands": [{"kind": "detail", "items": [{"kind": "box",
                 "at": [0, 1.5, 2, 3]}]}]})"),
              "test.json: report P1$REPORT, band 1, item 1: \"at\" must hold whole numbers");
    EXPECT_EQ(errorOf(R"({"bands": [{"kind": "detail", "items": [{"kind": "field", "use": "X",
                 "pictur": "n_8"}]}]})"),
              "test.json: report P1$REPORT, band 1, item 1: unknown key \"pictur\"");
    EXPECT_EQ(errorOf(R"({"bands": [{"kind": "detail"}, {"kind": "detail"}]})"),
              "test.json: report P1$REPORT: the detail band is given twice");
    EXPECT_EQ(errorOf(R"({"bands": [{"kind": "groupFooter", "items": [{"kind": "field",
                 "total": "sum"}]}]})"),
              "test.json: report P1$REPORT: item 1 of the group footer band is a field with no "
              "value source");
}

} // namespace
