#pragma once

#include "platform/automation/workbook/Worksheet.h"
#include "platform/automation/workbook/XlsxStyleReader.h"

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

#include <vector>

namespace platform::automation::workbook {

// Reads one worksheet part of an Office Open XML workbook into a sheet: columns, rows with the
// heights the user set, cells of every type with their formats and formulas, merged areas.
class XlsxSheetReader
{
public:
    XlsxSheetReader(Worksheet& sheet, const XlsxStyleReader& styles,
                    const std::vector<QString>& strings);

    void read(const QByteArray& data, const QString& part); // FormatError when damaged

private:
    void readColumn(QXmlStreamReader& xml);
    void readRow(QXmlStreamReader& xml);
    void readCell(QXmlStreamReader& xml);

    Worksheet& m_sheet;
    const XlsxStyleReader& m_styles;
    const std::vector<QString>& m_strings;
    std::vector<CellRange> m_merges;
    int m_row = 0;
    int m_column = 0;
};

} // namespace platform::automation::workbook
