#pragma once

#include "platform/automation/workbook/BiffRecordReader.h"
#include "platform/automation/workbook/CellFormat.h"

#include <QHash>
#include <QString>

#include <vector>

namespace platform::automation::workbook {

// Gathers the FONT, FORMAT and XF records of a binary workbook and turns an XF number into a
// cell format. Numbers that point nowhere give the default format.
class XlsStyleReader
{
public:
    void readFont(BiffRecord& record);
    void readFormat(BiffRecord& record);
    void readXf(BiffRecord& record);

    const CellFormat& format(uint16_t xf); // built on first use

private:
    struct Xf
    {
        uint16_t font = 0;
        uint16_t numberFormat = 0;
        uint8_t alignment = 0x20;
        uint32_t borders = 0;
        uint32_t colours = 0;
        uint16_t pattern = 0;
    };

    CellFormat build(const Xf& xf) const;

    std::vector<Font> m_fonts; // by record order: font number 4 is skipped
    QHash<int, QString> m_numberFormats;
    std::vector<Xf> m_xfs;
    std::vector<std::optional<CellFormat>> m_built;
    CellFormat m_default;
};

} // namespace platform::automation::workbook
