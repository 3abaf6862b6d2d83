#pragma once

#include "platform/automation/workbook/Workbook.h"

#include <QString>

namespace platform::automation::workbook {

// Office Open XML workbooks (.xlsx), written with libxlsxwriter.
class XlsxWriter
{
public:
    // Writes the file at path (a local file name). Raises FormatError when it cannot.
    static void write(const Workbook& workbook, const QString& path);
};

} // namespace platform::automation::workbook
