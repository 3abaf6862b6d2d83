#pragma once

#include "platform/automation/workbook/BiffRecordReader.h"
#include "platform/automation/workbook/Worksheet.h"
#include "platform/automation/workbook/XlsStyleReader.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace platform::automation::workbook {

// Reads one worksheet's substream of a binary workbook into a sheet: cell values (formula
// results included), their formats, merged areas, column widths and the row heights the user
// set. Embedded chart substreams are skipped.
class XlsSheetReader
{
public:
    // cells counts the cells read so far in the workbook; beyond WorkbookLimits it is refused.
    XlsSheetReader(Worksheet& sheet, XlsStyleReader& styles, const std::vector<QString>& strings,
                   int64_t& cells);

    void read(const QByteArray& stream, uint32_t offset); // FormatError when damaged

    // FormatError unless the record is a BIFF8 BOF of the given kind.
    static void checkBof(BiffRecord& record, uint16_t expectedKind);

private:
    Cell* place(int row, int column, uint16_t xf);
    void placeBlank(int row, int column, uint16_t xf); // kept only with a format of its own
    void setValue(int row, int column, uint16_t xf, const CellValue& value);
    Cell* readRecord(BiffRecord& record); // the formula whose text follows, if any
    Cell* readFormula(BiffRecord& record);

    Worksheet& m_sheet;
    XlsStyleReader& m_styles;
    const std::vector<QString>& m_strings;
    std::vector<CellRange> m_merges;
    int64_t& m_cells;
};

} // namespace platform::automation::workbook
