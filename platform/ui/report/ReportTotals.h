#pragma once

#include "platform/ui/report/ReportItem.h"
#include "platform/ui/report/ReportValue.h"

#include <map>
#include <string>

namespace platform::ui {

class ReportDefinition;

// The figures a report keeps for its total fields. Every printed detail band adds the current
// value of each source that some total field names; the totals run over the whole report (the
// report has one group), so a footer shows the figures of all details printed before it.
class ReportTotals
{
public:
    explicit ReportTotals(const ReportDefinition& definition);

    // Takes the values of one printed detail band.
    void addDetail(const ReportValueSource& source);

    int detailCount() const { return m_detailCount; }

    // The figure a total field prints: sum, average, maximum, minimum of its source over the
    // details, or their count. Before the first detail every figure is 0. A field that is not
    // an accumulating total gives 0.
    double value(const ReportItem& item) const;

private:
    struct Accumulator
    {
        double sum = 0;
        double maximum = 0;
        double minimum = 0;
    };

    std::map<std::string, Accumulator, std::less<>> m_sources;
    int m_detailCount = 0;
};

} // namespace platform::ui
