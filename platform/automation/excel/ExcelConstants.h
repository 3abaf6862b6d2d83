#pragma once

#include <optional>
#include <string_view>

namespace platform::automation::excel {

// The spreadsheet server's named constants that paths may use as bare arguments
// ("Borders(xlEdgeRight)"), compared without regard to case.
class ExcelConstants
{
public:
    static std::optional<double> find(std::string_view name);
};

} // namespace platform::automation::excel
