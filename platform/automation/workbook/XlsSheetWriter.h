#pragma once

#include "platform/automation/workbook/Worksheet.h"
#include "platform/automation/workbook/XlsStringTable.h"
#include "platform/automation/workbook/XlsStyleTable.h"

#include <QByteArray>

namespace platform::automation::workbook {

// Writes one sheet's substream of a binary workbook: columns, rows in blocks of 32 with their
// cells, the window settings and the merged areas. Texts and formats go into the workbook's
// shared tables.
class XlsSheetWriter
{
public:
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;

    XlsSheetWriter(XlsStyleTable& styles, XlsStringTable& strings);

    // Raises FormatError when the sheet does not fit the format's 65536 rows and 256 columns.
    QByteArray write(const Worksheet& sheet, bool active);

    // The height the spreadsheet gives a row whose largest font has the given size.
    static double automaticRowHeight(double fontSize);

private:
    void writeCell(BiffStreamWriter& out, int row, int column, const Cell& cell);

    XlsStyleTable& m_styles;
    XlsStringTable& m_strings;
};

} // namespace platform::automation::workbook
