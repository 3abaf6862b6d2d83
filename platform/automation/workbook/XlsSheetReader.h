#pragma once

#include "platform/automation/workbook/BiffRecordReader.h"
#include "platform/automation/workbook/Worksheet.h"
#include "platform/automation/workbook/XlsStyleReader.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace platform::automation::workbook {

// Reads one worksheet's substream of a binary workbook into a sheet: cell values (formula
// results included), their formats, merged areas, column widths and the row heights the user
// set. Embedded chart substreams are skipped.
class XlsSheetReader
{
public:
    XlsSheetReader(Worksheet& sheet, XlsStyleReader& styles, const std::vector<QString>& strings);

    void read(const QByteArray& stream, uint32_t offset); // FormatError when damaged

    // FormatError unless the record is a BIFF8 BOF of the given kind.
    static void checkBof(BiffRecord& record, uint16_t expectedKind);

private:
    Cell* place(int row, int column, uint16_t xf);
    void setValue(int row, int column, uint16_t xf, const CellValue& value);
    Cell* readRecord(BiffRecord& record); // the formula whose text follows, if any
    Cell* readFormula(BiffRecord& record);

    Worksheet& m_sheet;
    XlsStyleReader& m_styles;
    const std::vector<QString>& m_strings;
    std::vector<CellRange> m_merges;
};

} // namespace platform::automation::workbook
