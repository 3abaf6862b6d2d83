#pragma once

#include "platform/ui/VariableBinding.h"

#include <string>
#include <string_view>

// The pictures of entry and display fields: "n8" (whole number in 8 places), "n11.2",
// a trailing "b" for blank when zero ("n8b"), "s50" (text of 50 characters), "d6." and "T1".
namespace platform::ui {

class FieldPicture
{
public:
    FieldPicture() = default;
    explicit FieldPicture(std::string_view picture);

    bool isEmpty() const { return m_kind == 0; }
    bool isNumeric() const { return m_kind == 'n' || m_kind == 'd' || m_kind == 't'; }
    int width() const { return m_width; }
    int decimals() const { return m_decimals; }

    // The variable as the field shows it (a display keeps the picture's width; an entry shows
    // the value without the padding).
    std::string display(const VariableBinding& variable) const;
    std::string entryText(const VariableBinding& variable) const;
    // Takes typed text into the variable.
    void take(std::string_view typed, VariableBinding& variable) const;

private:
    char m_kind = 0;
    int m_width = 0;
    int m_decimals = 0;
    bool m_blankWhenZero = false;
    std::string m_picture;
};

} // namespace platform::ui
