#include "platform/ui/report/ReportItemText.h"

#include "platform/text/Picture.h"
#include "platform/ui/report/ReportTotals.h"

namespace platform::ui {
namespace {

bool isTextPicture(const std::string& picture)
{
    return !picture.empty() && picture[0] == '@';
}

std::string formattedValue(const ReportValue& value, const std::string& picture)
{
    switch (value.kind) {
    case ReportValue::Kind::None:
        return {};
    case ReportValue::Kind::Number:
        return text::format(value.number, picture);
    case ReportValue::Kind::Text:
        if (picture.empty() || isTextPicture(picture))
            return text::formatText(value.text, picture);
        // A number kept as text ("2.50") printed through a number, date or page picture.
        return text::format(value.asNumber(), picture);
    }
    return {};
}

} // namespace

std::string reportItemText(const ReportItem& item, const ReportValueSource& source,
                           const ReportTotals& totals, int page)
{
    switch (item.kind) {
    case ReportItemKind::Label:
        return item.text;
    case ReportItemKind::Box:
    case ReportItemKind::Line:
        return {};
    case ReportItemKind::Field:
        break;
    }
    switch (item.total) {
    case ReportTotalKind::None:
        return formattedValue(source ? source(item.use) : ReportValue{}, item.picture);
    case ReportTotalKind::PageNumber:
        return text::format(page, item.picture);
    case ReportTotalKind::Sum:
    case ReportTotalKind::Average:
    case ReportTotalKind::Maximum:
    case ReportTotalKind::Minimum:
    case ReportTotalKind::Count:
        return text::format(totals.value(item), item.picture);
    }
    return {};
}

} // namespace platform::ui
