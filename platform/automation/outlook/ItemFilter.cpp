#include "platform/automation/outlook/ItemFilter.h"

#include "platform/automation/AutomationValue.h"
#include "platform/automation/outlook/ItemProperties.h"
#include "platform/automation/outlook/OutlookItem.h"
#include "platform/text/Cp1251.h"

#include <QRegularExpression>

namespace platform::automation::outlook {

using platform::text::toQString;

std::optional<ItemFilter> ItemFilter::parse(std::string_view text, std::string* error)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*\\[([A-Za-z0-9]+)\\]\\s*=\\s*'((?:[^']|'')*)'\\s*$"));
    const QString filter = toQString(text);
    const auto match = form.match(filter);
    if (!match.hasMatch()) {
        if (error)
            *error = "the filter " + std::string(text) + " is not of the form [Field] = 'value'";
        return std::nullopt;
    }
    QString field = match.captured(1);
    if (field.compare(QStringLiteral("Company"), Qt::CaseInsensitive) == 0)
        field = QStringLiteral("CompanyName");
    const auto known = ItemProperties::find(field.toStdString());
    if (!known) {
        if (error)
            *error = "the filter names no known field: " + field.toStdString();
        return std::nullopt;
    }
    ItemFilter parsed;
    parsed.m_property = std::string(known->name);
    parsed.m_value = platform::text::fromQString(
        match.captured(2).replace(QStringLiteral("''"), QStringLiteral("'")));
    parsed.m_number = known->type != ItemProperty::Type::Text;
    return parsed;
}

bool ItemFilter::matches(const OutlookItem& item) const
{
    const std::string value = item.property(m_property);
    if (m_number) {
        const auto wanted = AutomationValue::text(m_value);
        return wanted.isNumeric() && AutomationValue::text(value).toNumber() == wanted.toNumber();
    }
    return toQString(value).trimmed().compare(toQString(m_value).trimmed(), Qt::CaseInsensitive) ==
           0;
}

} // namespace platform::automation::outlook
