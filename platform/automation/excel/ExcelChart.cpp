#include "platform/automation/excel/ExcelChart.h"

#include <cstdlib>

namespace platform::automation::excel {
namespace {

std::shared_ptr<SettingsObject> leaf(const std::string& type, std::vector<std::string> properties)
{
    return std::make_shared<SettingsObject>(type, std::move(properties),
                                            std::vector<std::string>{}, std::vector<std::string>{});
}

std::shared_ptr<SettingsObject> withText(const std::string& type, std::vector<std::string> properties)
{
    auto object = std::make_shared<SettingsObject>(type, std::move(properties),
                                                   std::vector<std::string>{"characters"},
                                                   std::vector<std::string>{"select"});
    object->setChildMaker([](const std::string& key) {
        return key == "characters" ? leaf("Characters", {"text"}) : nullptr;
    });
    return object;
}

} // namespace

ExcelChart::ExcelChart(int seriesCount, Selector select)
    : SettingsObject("Chart", {"charttype", "hastitle", "hasdatatable", "haslegend", "name"},
                     {"plotarea", "chartarea", "legend", "charttitle", "datatable",
                      "seriescollection", "axes"},
                     {"location", "applydatalabels", "select", "activate"}),
      m_seriesCount(seriesCount),
      m_select(std::move(select))
{
    setChildMaker([this](const std::string& key) { return makePart(key); });
    setMethodHandler([this](const std::string& method, const Arguments& arguments) {
        if (method == "location") {
            setValue("location", argument(arguments, 0));
            setValue("locationname", argument(arguments, 1));
        } else if (method == "applydatalabels") {
            setValue("datalabels", argument(arguments, 0));
        }
        return AutomationValue::boolean(true);
    });
}

std::shared_ptr<SettingsObject> ExcelChart::makePart(const std::string& key)
{
    if (key == "plotarea" || key == "chartarea" || key == "legend") {
        std::vector<std::string> properties;
        if (key == "legend")
            properties = {"position"};
        auto part = std::make_shared<SettingsObject>(
            key == "plotarea" ? "PlotArea" : key == "chartarea" ? "ChartArea" : "Legend",
            properties, std::vector<std::string>{"border", "interior", "font"},
            std::vector<std::string>{"select"});
        SettingsObject* raw = part.get();
        part->setChildMaker([](const std::string& child) -> std::shared_ptr<SettingsObject> {
            if (child == "border")
                return leaf("Border", {"colorindex", "weight", "linestyle"});
            if (child == "interior")
                return leaf("Interior", {"colorindex", "pattern", "patterncolorindex"});
            if (child == "font")
                return leaf("Font", {"bold", "italic", "size", "name", "colorindex"});
            return nullptr;
        });
        part->setMethodHandler([this, raw](const std::string&, const Arguments&) {
            if (m_select)
                m_select(raw->shared_from_this());
            return AutomationValue::boolean(true);
        });
        return part;
    }
    if (key == "charttitle")
        return withText("ChartTitle", {"text", "caption"});
    if (key == "datatable")
        return leaf("DataTable", {"showlegendkey"});
    if (key == "seriescollection") {
        auto collection = leaf("SeriesCollection", {"count"});
        collection->setValue("count", AutomationValue::number(m_seriesCount));
        return collection;
    }
    if (key.rfind("seriescollection(", 0) == 0) {
        const int number = std::atoi(key.c_str() + 17);
        if (number < 1 || number > m_seriesCount)
            return nullptr;
        return leaf("Series", {"axisgroup", "charttype", "name"});
    }
    if (key.rfind("axes(", 0) == 0) {
        auto axis = std::make_shared<SettingsObject>(
            "Axis", std::vector<std::string>{"hastitle", "hasmajorgridlines", "hasminorgridlines"},
            std::vector<std::string>{"axistitle"}, std::vector<std::string>{"select"});
        axis->setChildMaker([](const std::string& child) {
            return child == "axistitle" ? withText("AxisTitle", {"text", "caption"}) : nullptr;
        });
        return axis;
    }
    return nullptr;
}

} // namespace platform::automation::excel
