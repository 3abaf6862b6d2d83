#include "platform/automation/workbook/NumberFormatTable.h"

#include <array>
#include <utility>

namespace platform::automation::workbook {
namespace {

constexpr std::array<std::pair<int, const char*>, 36> kBuiltIn = {{
    {0, "General"},
    {1, "0"},
    {2, "0.00"},
    {3, "#,##0"},
    {4, "#,##0.00"},
    {9, "0%"},
    {10, "0.00%"},
    {11, "0.00E+00"},
    {12, "# ?/?"},
    {13, "# ?"
         "?/??"},
    {14, "mm-dd-yy"},
    {15, "d-mmm-yy"},
    {16, "d-mmm"},
    {17, "mmm-yy"},
    {18, "h:mm AM/PM"},
    {19, "h:mm:ss AM/PM"},
    {20, "h:mm"},
    {21, "h:mm:ss"},
    {22, "m/d/yy h:mm"},
    {37, "#,##0 ;(#,##0)"},
    {38, "#,##0 ;[Red](#,##0)"},
    {39, "#,##0.00;(#,##0.00)"},
    {40, "#,##0.00;[Red](#,##0.00)"},
    {41, "_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)"},
    {42, "_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)"},
    {43, "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"?\?_);_(@_)"},
    {44, "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)"},
    {45, "mm:ss"},
    {46, "[h]:mm:ss"},
    {47, "mmss.0"},
    {48, "##0.0E+0"},
    {49, "@"},
    {5, "\"$\"#,##0_);\\(\"$\"#,##0\\)"},
    {6, "\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)"},
    {7, "\"$\"#,##0.00_);\\(\"$\"#,##0.00\\)"},
    {8, "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)"},
}};

constexpr std::array<int, 11> kPortable = {0, 1, 2, 3, 4, 9, 10, 11, 12, 13, 49};

} // namespace

QString NumberFormatTable::builtIn(int id)
{
    for (const auto& [number, text] : kBuiltIn) {
        if (number == id) {
            return QString::fromLatin1(text);
        }
    }
    return {};
}

std::optional<int> NumberFormatTable::portableId(const QString& format)
{
    if (format.isEmpty() || format.compare(u"General", Qt::CaseInsensitive) == 0) {
        return 0;
    }
    for (int id : kPortable) {
        if (builtIn(id) == format) {
            return id;
        }
    }
    return std::nullopt;
}

} // namespace platform::automation::workbook
