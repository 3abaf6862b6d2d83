#pragma once

#include <functional>
#include <string>
#include <string_view>

// The current value of a named variable or record field, as the program hands it to a report.
namespace platform::ui {

struct ReportValue
{
    enum class Kind { None, Number, Text };

    Kind kind = Kind::None;
    double number = 0;
    std::string text; // Windows-1251

    static ReportValue ofNumber(double value) { return {Kind::Number, value, {}}; }
    static ReportValue ofText(std::string value) { return {Kind::Text, 0, std::move(value)}; }

    // A text value counts by its leading number (blanks skipped); no value counts as 0.
    double asNumber() const;
};

// Gives the value of a name ("K:SUMMA", "HEADSTR"); an unknown name gives Kind::None.
using ReportValueSource = std::function<ReportValue(std::string_view name)>;

} // namespace platform::ui
