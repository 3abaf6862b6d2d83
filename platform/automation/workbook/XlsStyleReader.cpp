#include "platform/automation/workbook/XlsStyleReader.h"

#include "platform/automation/workbook/FormatCodes.h"
#include "platform/automation/workbook/NumberFormatTable.h"

namespace platform::automation::workbook {

void XlsStyleReader::readFont(BiffRecord& record)
{
    Font font;
    font.size = record.u16() / 20.0;
    const uint16_t flags = record.u16();
    font.italic = (flags & 0x0002) != 0;
    font.colorIndex = FormatCodes::colorFromBiff(record.u16());
    font.bold = record.u16() >= 700;
    record.u16(); // superscript, subscript
    const uint8_t underline = record.u8();
    font.underline = (underline == 1 || underline == 0x21)   ? Underline::Single
                     : (underline == 2 || underline == 0x22) ? Underline::Double
                                                             : Underline::None;
    record.skip(3);
    font.name = record.unicodeString(false);
    m_fonts.push_back(font);
}

void XlsStyleReader::readFormat(BiffRecord& record)
{
    const uint16_t id = record.u16();
    m_numberFormats.insert(id, record.unicodeString(true));
}

void XlsStyleReader::readXf(BiffRecord& record)
{
    Xf xf;
    xf.font = record.u16();
    xf.numberFormat = record.u16();
    record.u16(); // protection, kind, parent
    xf.alignment = record.u8();
    record.skip(3);
    xf.borders = record.u32();
    xf.colours = record.u32();
    xf.pattern = record.u16();
    m_xfs.push_back(xf);
}

const CellFormat& XlsStyleReader::format(uint16_t xf)
{
    if (xf >= m_xfs.size()) {
        return m_default;
    }
    m_built.resize(m_xfs.size());
    if (!m_built[xf]) {
        m_built[xf] = build(m_xfs[xf]);
    }
    return *m_built[xf];
}

CellFormat XlsStyleReader::build(const Xf& xf) const
{
    CellFormat format;
    const size_t font = xf.font < 4 ? xf.font : static_cast<size_t>(xf.font) - 1;
    if (font < m_fonts.size()) {
        format.font = m_fonts[font];
    }
    const auto custom = m_numberFormats.constFind(xf.numberFormat);
    if (custom != m_numberFormats.constEnd()) {
        format.numberFormat = custom.value();
    } else if (const QString builtIn = NumberFormatTable::builtIn(xf.numberFormat);
               !builtIn.isEmpty()) {
        format.numberFormat = builtIn;
    }
    format.alignment.horizontal = FormatCodes::horizontalFromCode(xf.alignment & 0x07);
    format.alignment.wrapText = (xf.alignment & 0x08) != 0;
    format.alignment.vertical = FormatCodes::verticalFromCode((xf.alignment >> 4) & 0x07);
    const auto line = [](uint32_t code, uint32_t colour) {
        return FormatCodes::borderFromCode(
            static_cast<int>(code & 0x0F),
            FormatCodes::colorFromBiff(static_cast<int>(colour & 0x7F)));
    };
    format.borders.edge(Edge::Left) = line(xf.borders, xf.borders >> 16);
    format.borders.edge(Edge::Right) = line(xf.borders >> 4, xf.borders >> 23);
    format.borders.edge(Edge::Top) = line(xf.borders >> 8, xf.colours);
    format.borders.edge(Edge::Bottom) = line(xf.borders >> 12, xf.colours >> 7);
    const uint32_t fill = (xf.colours >> 26) & 0x3F;
    if (fill == 1) {
        const int colour = FormatCodes::colorFromBiff(xf.pattern & 0x7F);
        format.fillColorIndex = Palette::isIndex(colour) ? colour : Palette::kNone;
    }
    return format;
}

} // namespace platform::automation::workbook
