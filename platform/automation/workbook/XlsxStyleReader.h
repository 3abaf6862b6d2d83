#pragma once

#include "platform/automation/workbook/CellFormat.h"

#include <QByteArray>
#include <QXmlStreamAttributes>

#include <vector>

namespace platform::automation::workbook {

// Reads styles.xml of an Office Open XML workbook: number formats, fonts, fills, borders and
// the cell formats (cellXfs) that combine them with an alignment.
class XlsxStyleReader
{
public:
    void read(const QByteArray& xml);          // FormatError when the XML is broken
    const CellFormat& format(int index) const; // the default format for an unknown index

    // A colour element's attributes (rgb, indexed, theme, auto) as a palette index.
    static int colorIndexOf(const QXmlStreamAttributes& attributes);

private:
    std::vector<Font> m_fonts;
    std::vector<int> m_fills;
    std::vector<Borders> m_borders;
    std::vector<CellFormat> m_formats;
    CellFormat m_default;
};

} // namespace platform::automation::workbook
