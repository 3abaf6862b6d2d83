#include "platform/automation/workbook/FormulaValue.h"

#include <cmath>

namespace platform::automation::workbook {
namespace {

std::optional<CellValue> constantOf(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.compare(u"TRUE", Qt::CaseInsensitive) == 0) {
        return CellValue::boolean(true);
    }
    if (trimmed.compare(u"FALSE", Qt::CaseInsensitive) == 0) {
        return CellValue::boolean(false);
    }
    if (const std::optional<double> number = FormulaValue::parseNumber(trimmed)) {
        return CellValue::number(*number);
    }
    return std::nullopt;
}

// A formula that is one quoted text ("=\"a\"\"b\"" gives a"b); nothing when it is more.
std::optional<QString> quotedText(QStringView text)
{
    text = text.trimmed();
    if (text.size() < 2 || text.front() != u'"' || text.back() != u'"') {
        return std::nullopt;
    }
    QString result;
    for (qsizetype at = 1; at < text.size() - 1; ++at) {
        if (text[at] == u'"') {
            if (at + 1 >= text.size() - 1 || text[at + 1] != u'"') {
                return std::nullopt;
            }
            ++at;
        }
        result += text[at];
    }
    return result;
}

} // namespace

std::optional<double> FormulaValue::parseNumber(QStringView text)
{
    text = text.trimmed();
    qsizetype at = 0;
    const auto digits = [&]() {
        const qsizetype start = at;
        while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
            ++at;
        }
        return at - start;
    };
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
        ++at;
    }
    qsizetype mantissa = digits();
    if (at < text.size() && text[at] == u'.') {
        ++at;
        mantissa += digits();
    }
    if (mantissa == 0) {
        return std::nullopt;
    }
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        ++at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
            ++at;
        }
        if (digits() == 0) {
            return std::nullopt;
        }
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = text.toString().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

FormulaValue::Entry FormulaValue::evaluate(const QString& text)
{
    if (text.isEmpty()) {
        return {};
    }
    if (text.startsWith(u'=') && text.size() > 1) {
        const QStringView body = QStringView(text).mid(1);
        if (std::optional<QString> quoted = quotedText(body)) {
            return {CellValue::text(*quoted), text};
        }
        if (std::optional<CellValue> constant = constantOf(body)) {
            return {*constant, text};
        }
        return {CellValue(), text};
    }
    if (text.startsWith(u'\'')) {
        return {CellValue::text(text.mid(1)), QString()};
    }
    if (std::optional<CellValue> constant = constantOf(text)) {
        return {*constant, QString()};
    }
    return {CellValue::text(text), QString()};
}

} // namespace platform::automation::workbook
