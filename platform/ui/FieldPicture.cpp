#include "platform/ui/FieldPicture.h"

#include "platform/text/Picture.h"

#include "platform/text/RealText.h"

#include <string>
#include "platform/text/AsciiChars.h"

namespace platform::ui {

double parseNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    // Digits and one point ("." or ",", as a person types either) in the form the number
    // reader takes.
    std::string number;
    bool digits = false;
    while (i < text.size() && platform::text::isAsciiDigit(text[i])) {
        number += text[i++];
        digits = true;
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        number += '.';
        while (i < text.size() && platform::text::isAsciiDigit(text[i])) {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0;
    const double value = text::textToReal(number);
    return negative ? -value : value;
}

FieldPicture::FieldPicture(std::string_view picture) : m_picture(picture)
{
    if (picture.empty())
        return;
    m_kind = static_cast<char>(platform::text::asciiLower(picture[0]));
    picture.remove_prefix(1);
    if (!picture.empty() && picture[0] == '_')
        picture.remove_prefix(1);
    if (m_kind == 'n' && !picture.empty() && (picture.back() == 'b' || picture.back() == 'B')) {
        m_blankWhenZero = true;
        picture.remove_suffix(1);
    }
    std::size_t i = 0;
    while (i < picture.size() && platform::text::isAsciiDigit(picture[i]))
        m_width = m_width * 10 + (picture[i++] - '0');
    if (i < picture.size() && picture[i] == '.')
        for (++i; i < picture.size() && platform::text::isAsciiDigit(picture[i]); ++i)
            m_decimals = m_decimals * 10 + (picture[i] - '0');
    if (m_kind == 'd')
        m_width = 10;
    if (m_kind == 't')
        m_width = 5;
}

std::string FieldPicture::display(const VariableBinding& variable) const
{
    switch (m_kind) {
    case 'n': {
        const double value = variable.number();
        if (m_blankWhenZero && value == 0)
            return std::string(static_cast<std::size_t>(m_width), ' ');
        std::string picture = "n_" + std::to_string(m_width);
        if (m_decimals)
            picture += "." + std::to_string(m_decimals);
        return text::formatNumber(value, picture);
    }
    case 's':
        return text::formatText(variable.text(), "@s" + std::to_string(m_width));
    case 'd':
        return variable.number() == 0
                   ? std::string()
                   : text::formatDate(static_cast<int32_t>(variable.number()), "d6.");
    case 't':
        return variable.number() == 0
                   ? std::string()
                   : text::formatTime(static_cast<int32_t>(variable.number()), "T1");
    default:
        return variable.text();
    }
}

std::string FieldPicture::entryText(const VariableBinding& variable) const
{
    std::string shown = display(variable);
    if (m_kind == 's' || m_kind == 0) {
        while (!shown.empty() && shown.back() == ' ')
            shown.pop_back();
        return shown;
    }
    const std::size_t first = shown.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : shown.substr(first);
}

void FieldPicture::take(std::string_view typed, VariableBinding& variable) const
{
    if (m_kind == 'n') {
        variable.setNumber(parseNumber(typed));
        return;
    }
    if (m_kind == 's' && m_width > 0 && typed.size() > static_cast<std::size_t>(m_width))
        typed = typed.substr(0, static_cast<std::size_t>(m_width));
    variable.setText(typed);
}

} // namespace platform::ui
