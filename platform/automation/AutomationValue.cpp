#include "platform/automation/AutomationValue.h"

#include "platform/automation/AutomationObject.h"

#include <QString>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include "platform/text/AsciiChars.h"
#include "platform/text/RealText.h"

namespace platform::automation {
namespace {

// The leading number of a text; consumed tells how many bytes it took (0: no number).
double leadingNumber(const std::string& text, size_t* consumed)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    std::string digits;
    size_t j = i;
    if (j < text.size() && (text[j] == '-' || text[j] == '+'))
        digits += text[j++];
    bool any = false;
    while (j < text.size() && platform::text::isAsciiDigit(text[j])) {
        digits += text[j++];
        any = true;
    }
    if (j < text.size() && (text[j] == '.' || text[j] == ',')) {
        size_t k = j + 1;
        std::string fraction;
        while (k < text.size() && platform::text::isAsciiDigit(text[k]))
            fraction += text[k++];
        if (any || !fraction.empty()) {
            digits += '.' + fraction;
            any = true;
            j = k;
        }
    }
    if (!any) {
        *consumed = 0;
        return 0;
    }
    if (j < text.size() && (text[j] == 'e' || text[j] == 'E')) {
        size_t k = j + 1;
        std::string exponent = "e";
        if (k < text.size() && (text[k] == '-' || text[k] == '+'))
            exponent += text[k++];
        const size_t start = k;
        while (k < text.size() && platform::text::isAsciiDigit(text[k]))
            exponent += text[k++];
        if (k > start) {
            digits += exponent;
            j = k;
        }
    }
    *consumed = j;
    return text::textToReal(digits);
}

} // namespace

AutomationValue AutomationValue::missing()
{
    AutomationValue value;
    value.m_type = Type::Missing;
    return value;
}

AutomationValue AutomationValue::number(double number)
{
    AutomationValue value;
    value.m_type = Type::Number;
    value.m_number = number;
    return value;
}

AutomationValue AutomationValue::text(std::string text)
{
    AutomationValue value;
    value.m_type = Type::Text;
    value.m_text = std::move(text);
    return value;
}

AutomationValue AutomationValue::boolean(bool flag)
{
    AutomationValue value;
    value.m_type = Type::Boolean;
    value.m_number = flag ? 1 : 0;
    return value;
}

AutomationValue AutomationValue::object(std::shared_ptr<AutomationObject> object)
{
    AutomationValue value;
    value.m_type = object ? Type::Object : Type::Empty;
    value.m_object = std::move(object);
    return value;
}

double AutomationValue::toNumber() const
{
    switch (m_type) {
    case Type::Number:
    case Type::Boolean:
        return m_number;
    case Type::Text: {
        size_t consumed = 0;
        return leadingNumber(m_text, &consumed);
    }
    default:
        return 0;
    }
}

long long AutomationValue::toInteger() const
{
    const double number = toNumber();
    if (!std::isfinite(number) || std::fabs(number) > 9.0e18)
        return 0;
    return std::llround(number);
}

bool AutomationValue::toBoolean() const
{
    if (m_type == Type::Text) {
        const QString text = QString::fromLatin1(m_text).trimmed();
        if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return toNumber() != 0;
}

std::string AutomationValue::toText() const
{
    switch (m_type) {
    case Type::Number:
        if (m_number == std::floor(m_number) && std::fabs(m_number) < 1e15)
            return std::to_string(static_cast<long long>(m_number));
        return QString::number(m_number, 'g', 15).toStdString();
    case Type::Boolean:
        return m_number != 0 ? "1" : "0";
    case Type::Text:
        return m_text;
    default:
        return {};
    }
}

bool AutomationValue::isNumeric() const
{
    if (m_type == Type::Number)
        return true;
    if (m_type != Type::Text)
        return false;
    size_t consumed = 0;
    leadingNumber(m_text, &consumed);
    if (consumed == 0)
        return false;
    while (consumed < m_text.size() && m_text[consumed] == ' ')
        ++consumed;
    return consumed == m_text.size();
}

} // namespace platform::automation
