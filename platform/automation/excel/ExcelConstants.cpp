#include "platform/automation/excel/ExcelConstants.h"

#include <QString>

#include <map>

namespace platform::automation::excel {

std::optional<double> ExcelConstants::find(std::string_view name)
{
    static const std::map<QString, double> table{
        // Border edges and line styles.
        {QStringLiteral("xldiagonaldown"), 5}, {QStringLiteral("xldiagonalup"), 6},
        {QStringLiteral("xledgeleft"), 7}, {QStringLiteral("xledgetop"), 8},
        {QStringLiteral("xledgebottom"), 9}, {QStringLiteral("xledgeright"), 10},
        {QStringLiteral("xlinsidevertical"), 11}, {QStringLiteral("xlinsidehorizontal"), 12},
        {QStringLiteral("xlcontinuous"), 1}, {QStringLiteral("xldash"), -4115},
        {QStringLiteral("xldashdot"), 4}, {QStringLiteral("xldashdotdot"), 5},
        {QStringLiteral("xldot"), -4118}, {QStringLiteral("xldouble"), -4119},
        {QStringLiteral("xlslantdashdot"), 13}, {QStringLiteral("xllinestylenone"), -4142},
        {QStringLiteral("xlhairline"), 1}, {QStringLiteral("xlthin"), 2},
        {QStringLiteral("xlmedium"), -4138}, {QStringLiteral("xlthick"), 4},
        // Alignment.
        {QStringLiteral("xlgeneral"), 1}, {QStringLiteral("xlleft"), -4131},
        {QStringLiteral("xlcenter"), -4108}, {QStringLiteral("xlright"), -4152},
        {QStringLiteral("xlfill"), 5}, {QStringLiteral("xljustify"), -4130},
        {QStringLiteral("xlcenteracrossselection"), 7}, {QStringLiteral("xldistributed"), -4117},
        {QStringLiteral("xltop"), -4160}, {QStringLiteral("xlbottom"), -4107},
        // Colours, underline, shifts.
        {QStringLiteral("xlautomatic"), -4105}, {QStringLiteral("xlcolorindexautomatic"), -4105},
        {QStringLiteral("xlnone"), -4142}, {QStringLiteral("xlcolorindexnone"), -4142},
        {QStringLiteral("xlunderlinestylenone"), -4142},
        {QStringLiteral("xlunderlinestylesingle"), 2},
        {QStringLiteral("xlunderlinestyledouble"), -4119},
        {QStringLiteral("xlshifttoright"), -4161}, {QStringLiteral("xlshiftdown"), -4121},
        // Replace, file formats, windows, page setup.
        {QStringLiteral("xlwhole"), 1}, {QStringLiteral("xlpart"), 2},
        {QStringLiteral("xlbyrows"), 1}, {QStringLiteral("xlbycolumns"), 2},
        {QStringLiteral("xlworkbooknormal"), -4143}, {QStringLiteral("xlexcel8"), 56},
        {QStringLiteral("xlopenxmlworkbook"), 51}, {QStringLiteral("xlmaximized"), -4137},
        {QStringLiteral("xlminimized"), -4140}, {QStringLiteral("xlnormal"), -4143},
        {QStringLiteral("xlportrait"), 1}, {QStringLiteral("xllandscape"), 2},
        {QStringLiteral("xlpapera4"), 9}, {QStringLiteral("xlpaperletter"), 1},
        // Charts and international settings.
        {QStringLiteral("xllocationasnewsheet"), 1}, {QStringLiteral("xllocationasobject"), 2},
        {QStringLiteral("xllocationautomatic"), 3}, {QStringLiteral("xlcategory"), 1},
        {QStringLiteral("xlvalue"), 2}, {QStringLiteral("xlseriesaxis"), 3},
        {QStringLiteral("xlprimary"), 1}, {QStringLiteral("xlsecondary"), 2},
        {QStringLiteral("xlcountrycode"), 1}, {QStringLiteral("xlcountrysetting"), 2},
        {QStringLiteral("xldecimalseparator"), 3}, {QStringLiteral("xlthousandsseparator"), 4},
        {QStringLiteral("xllistseparator"), 5},
    };
    const auto it = table.find(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())).toLower());
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

} // namespace platform::automation::excel
