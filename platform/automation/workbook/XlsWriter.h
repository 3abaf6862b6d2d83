#pragma once

#include "platform/automation/workbook/Workbook.h"

#include <QByteArray>

namespace platform::automation::workbook {

// The spreadsheet's 97-2003 binary workbook: BIFF8 records in the "Workbook" stream of a
// compound file.
class XlsWriter
{
public:
    // The whole file. Raises FormatError when the workbook does not fit the format.
    static QByteArray write(const Workbook& workbook);
};

} // namespace platform::automation::workbook
