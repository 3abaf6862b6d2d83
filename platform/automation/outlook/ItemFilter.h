#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::automation::outlook {

class OutlookItem;

// A Find filter of the form [Field] = 'value' (a quote inside the value doubled). Texts match
// without regard to case, numbers by value; Company and CustomerId name the contact fields
// CompanyName and CustomerID.
class ItemFilter
{
public:
    // Nothing, with the reason, when the text is no such filter or names no known field.
    static std::optional<ItemFilter> parse(std::string_view text, std::string* error);

    bool matches(const OutlookItem& item) const;
    // The value looked for, its doubled quotes made single again.
    const std::string& value() const { return m_value; }

private:
    std::string m_property;
    std::string m_value;
    bool m_number = false;
};

} // namespace platform::automation::outlook
