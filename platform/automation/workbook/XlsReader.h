#pragma once

#include "platform/automation/workbook/Workbook.h"

#include <QByteArray>

namespace platform::automation::workbook {

// Reads a 97-2003 binary workbook (BIFF8) into the model: worksheets with their values (the
// cached results of formulas), formats, merged areas, column widths and row heights. Raises
// FormatError for a file that is not such a workbook, is encrypted or is damaged.
class XlsReader
{
public:
    static Workbook read(const QByteArray& file);
};

} // namespace platform::automation::workbook
