#include "platform/ui/report/ReportDefinition.h"

namespace platform::ui {
namespace {

const char* bandName(ReportBandKind kind)
{
    switch (kind) {
    case ReportBandKind::GroupHeader:
        return "group header";
    case ReportBandKind::Detail:
        return "detail";
    case ReportBandKind::GroupFooter:
        return "group footer";
    case ReportBandKind::PageFooter:
        return "page footer";
    }
    return "band";
}

bool needsSource(const ReportItem& item)
{
    return item.kind == ReportItemKind::Field && item.total != ReportTotalKind::PageNumber &&
           item.total != ReportTotalKind::Count;
}

} // namespace

const ReportBand* ReportDefinition::band(ReportBandKind kind) const
{
    for (const ReportBand& candidate : bands)
        if (candidate.kind == kind)
            return &candidate;
    return nullptr;
}

std::string ReportDefinition::problem() const
{
    if (margins.left < 0 || margins.top < 0 || margins.right < 0 || margins.bottom < 0)
        return "negative page margin";
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const ReportBand& current = bands[i];
        const std::string name = bandName(current.kind);
        for (std::size_t j = 0; j < i; ++j)
            if (bands[j].kind == current.kind)
                return "the " + name + " band is given twice";
        if (current.height < 0)
            return "the " + name + " band has a negative height";
        for (std::size_t n = 0; n < current.items.size(); ++n) {
            const ReportItem& item = current.items[n];
            const std::string where = "item " + std::to_string(n + 1) + " of the " + name + " band";
            if (item.width < 0 || item.height < 0)
                return where + " has a negative size";
            if (item.lineWidth < 0)
                return where + " has a negative line width";
            if (needsSource(item) && item.use.empty())
                return where + " is a field with no value source";
        }
    }
    return {};
}

ReportFont ReportDefinition::fontOf(const ReportItem& item) const
{
    if (!item.font)
        return font;
    ReportFont result = *item.font;
    if (result.typeface.empty())
        result.typeface = font.typeface;
    if (result.size <= 0)
        result.size = font.size;
    return result;
}

} // namespace platform::ui
