#include "platform/ui/report/ReportValue.h"

#include <charconv>

namespace platform::ui {

double ReportValue::asNumber() const
{
    if (kind == Kind::Number)
        return number;
    if (kind == Kind::None)
        return 0;
    // from_chars ignores the process locale, so "2.50" reads the same everywhere.
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first != last && *first == ' ')
        ++first;
    if (first != last && *first == '+')
        ++first;
    double value = 0;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() ? value : 0;
}

} // namespace platform::ui
