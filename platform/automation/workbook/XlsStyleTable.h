#pragma once

#include "platform/automation/workbook/BiffStreamWriter.h"
#include "platform/automation/workbook/CellFormat.h"

#include <QString>

#include <unordered_map>
#include <vector>

namespace platform::automation::workbook {

// Collects the fonts, number formats and cell formats (XF records) of a workbook being written
// in the binary format, and writes them with the one "Normal" style.
class XlsStyleTable
{
public:
    static constexpr uint16_t kDefaultCellXf = 15;

    XlsStyleTable();

    uint16_t xfFor(const CellFormat& format); // adds the format when it is new
    void write(BiffStreamWriter& out) const;

private:
    uint16_t fontFor(const Font& font);
    uint16_t numberFormatFor(const QString& format);
    QByteArray xfRecord(const CellFormat& format, uint16_t font, uint16_t numberFormat) const;

    std::vector<Font> m_fonts; // record order; font number 4 does not exist in the format
    std::vector<QString> m_customFormats; // ids from 164
    std::vector<QByteArray> m_cellXfs;    // from index 16
    std::unordered_map<CellFormat, uint16_t, CellFormatHash> m_xfIndex;
};

} // namespace platform::automation::workbook
