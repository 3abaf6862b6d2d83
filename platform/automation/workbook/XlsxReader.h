#pragma once

#include "platform/automation/workbook/Workbook.h"

#include <QString>

namespace platform::automation::workbook {

// Reads an Office Open XML workbook (.xlsx): worksheets with their values (formula texts and
// cached results), formats, merged areas, column widths and row heights. Raises FormatError
// for a file that is not such a workbook or is damaged.
class XlsxReader
{
public:
    static Workbook read(const QString& path);
};

} // namespace platform::automation::workbook
