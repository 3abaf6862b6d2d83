#include "platform/ui/report/ReportTotals.h"

#include "platform/ui/report/ReportDefinition.h"

#include <algorithm>

namespace platform::ui {
namespace {

bool accumulates(const ReportItem& item)
{
    switch (item.total) {
    case ReportTotalKind::Sum:
    case ReportTotalKind::Average:
    case ReportTotalKind::Maximum:
    case ReportTotalKind::Minimum:
        return item.kind == ReportItemKind::Field;
    case ReportTotalKind::None:
    case ReportTotalKind::Count:
    case ReportTotalKind::PageNumber:
        break;
    }
    return false;
}

} // namespace

ReportTotals::ReportTotals(const ReportDefinition& definition)
{
    for (const ReportBand& band : definition.bands)
        for (const ReportItem& item : band.items)
            if (accumulates(item))
                m_sources.try_emplace(item.use);
}

void ReportTotals::addDetail(const ReportValueSource& source)
{
    for (auto& [name, figures] : m_sources) {
        const double value = source ? source(name).asNumber() : 0.0;
        figures.sum += value;
        figures.maximum = m_detailCount == 0 ? value : std::max(figures.maximum, value);
        figures.minimum = m_detailCount == 0 ? value : std::min(figures.minimum, value);
    }
    ++m_detailCount;
}

double ReportTotals::value(const ReportItem& item) const
{
    if (item.total == ReportTotalKind::Count)
        return m_detailCount;
    const auto found = m_sources.find(item.use);
    if (!accumulates(item) || found == m_sources.end() || m_detailCount == 0)
        return 0;
    const Accumulator& figures = found->second;
    switch (item.total) {
    case ReportTotalKind::Sum:
        return figures.sum;
    case ReportTotalKind::Average:
        return figures.sum / m_detailCount;
    case ReportTotalKind::Maximum:
        return figures.maximum;
    case ReportTotalKind::Minimum:
        return figures.minimum;
    case ReportTotalKind::None:
    case ReportTotalKind::Count:
    case ReportTotalKind::PageNumber:
        break;
    }
    return 0;
}

} // namespace platform::ui
