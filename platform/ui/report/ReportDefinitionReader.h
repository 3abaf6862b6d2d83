#pragma once

#include "platform/ui/report/ReportDefinition.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace platform::ui {

// Reads a report definition from the JSON of a module file (the structure with the given
// label, "P1$REPORT") or from a JSON object that is the report itself; the format is in
// docs/reports.md. Texts are turned into Windows-1251. A definition that cannot be used throws
// DefinitionError naming the origin and the place.
class ReportDefinitionReader
{
public:
    static ReportDefinition readFile(const QString& fileName, std::string_view label);
    static ReportDefinition readJson(const QByteArray& json, std::string_view label,
                                     const std::string& origin);
};

} // namespace platform::ui
