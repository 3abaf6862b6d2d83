#include "platform/automation/workbook/CellValue.h"

namespace platform::automation::workbook {

CellValue CellValue::number(double value)
{
    CellValue result;
    result.m_value = value;
    return result;
}

CellValue CellValue::text(const QString& value)
{
    CellValue result;
    result.m_value = value;
    return result;
}

CellValue CellValue::boolean(bool value)
{
    CellValue result;
    result.m_value = value;
    return result;
}

CellValue::Type CellValue::type() const
{
    switch (m_value.index()) {
    case 1:
        return Type::Number;
    case 2:
        return Type::Text;
    case 3:
        return Type::Boolean;
    default:
        return Type::Empty;
    }
}

double CellValue::toNumber() const
{
    if (const double* value = std::get_if<double>(&m_value)) {
        return *value;
    }
    if (const bool* value = std::get_if<bool>(&m_value)) {
        return *value ? 1.0 : 0.0;
    }
    return 0.0;
}

bool CellValue::toBoolean() const
{
    if (const bool* value = std::get_if<bool>(&m_value)) {
        return *value;
    }
    if (const double* value = std::get_if<double>(&m_value)) {
        return *value != 0.0;
    }
    return false;
}

const QString& CellValue::textValue() const
{
    static const QString empty;
    const QString* value = std::get_if<QString>(&m_value);
    return value ? *value : empty;
}

QString CellValue::toText() const
{
    switch (type()) {
    case Type::Number: {
        const double value = std::get<double>(m_value);
        return QString::number(value == 0.0 ? 0.0 : value, 'g', 15);
    }
    case Type::Text:
        return std::get<QString>(m_value);
    case Type::Boolean:
        return std::get<bool>(m_value) ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case Type::Empty:
        break;
    }
    return {};
}

} // namespace platform::automation::workbook
