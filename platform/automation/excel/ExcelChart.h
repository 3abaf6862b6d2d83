#pragma once

#include "platform/automation/excel/SettingsObject.h"

#include <functional>

namespace platform::automation::excel {

// A chart: its type, place, titles, axes, legend, data table and the formats of its areas,
// kept as set. Charts are recorded in the workbook while it is open; they are neither drawn nor
// saved to a file.
class ExcelChart : public SettingsObject
{
public:
    using Selector = std::function<void(const std::shared_ptr<AutomationObject>& part)>;

    // seriesCount: the columns of the data the chart was made from. select makes a chart part
    // the application's selection.
    ExcelChart(int seriesCount, Selector select);

private:
    std::shared_ptr<SettingsObject> makePart(const std::string& key);

    int m_seriesCount;
    Selector m_select;
};

} // namespace platform::automation::excel
