#include "platform/automation/workbook/XlsStyleTable.h"

#include "platform/automation/workbook/ByteWriter.h"
#include "platform/automation/workbook/FormatCodes.h"
#include "platform/automation/workbook/FormatError.h"
#include "platform/automation/workbook/NumberFormatTable.h"

#include <algorithm>
#include <cmath>

namespace platform::automation::workbook {
namespace {

constexpr uint16_t kFont = 0x0031;
constexpr uint16_t kFormat = 0x041E;
constexpr uint16_t kXf = 0x00E0;
constexpr uint16_t kStyle = 0x0293;
constexpr size_t kMaxCellXfs = 4000 - 16; // the format's 4000 XFs, less the built-in ones
constexpr size_t kMaxFonts = 510;
constexpr uint16_t kAutomaticFontColour = 0x7FFF;
constexpr uint16_t kAutomaticBorderColour = 64;

QByteArray fontRecord(const Font& font)
{
    QByteArray data;
    ByteWriter out(data);
    out.u16(static_cast<uint32_t>(std::lround(std::clamp(font.size, 1.0, 409.0) * 20)));
    out.u16(font.italic ? 0x0002 : 0x0000);
    out.u16(FormatCodes::biffColor(font.colorIndex, kAutomaticFontColour));
    out.u16(font.bold ? 700 : 400);
    out.u16(0); // no superscript or subscript
    out.u8(font.underline == Underline::Single ? 1 : font.underline == Underline::Double ? 2 : 0);
    out.u8(0); // family
    out.u8(1); // character set: the system's default
    out.u8(0);
    out.raw(
        BiffStreamWriter::shortString(font.name.isEmpty() ? QStringLiteral("Arial") : font.name));
    return data;
}

QByteArray styleXfRecord(uint16_t font, uint8_t usedAttributes)
{
    QByteArray data;
    ByteWriter out(data);
    out.u16(font);
    out.u16(0);
    out.u16(0xFFF5); // locked, style XF, no parent
    out.u8(0x20);    // general, bottom
    out.u8(0);
    out.u8(0);
    out.u8(usedAttributes);
    out.u32(0);
    out.u32(0x00000000);
    out.u16(0x20C0); // pattern colours: automatic foreground and background
    return data;
}

} // namespace

XlsStyleTable::XlsStyleTable()
{
    m_fonts.assign(4, Font());
    m_xfIndex.emplace(CellFormat(), kDefaultCellXf);
}

uint16_t XlsStyleTable::fontFor(const Font& font)
{
    for (size_t index = 0; index < m_fonts.size(); ++index) {
        if (m_fonts[index] == font) {
            return static_cast<uint16_t>(index < 4 ? index : index + 1);
        }
    }
    if (m_fonts.size() >= kMaxFonts) {
        throw FormatError(QStringLiteral("The workbook uses more different fonts than the .xls "
                                         "format can hold"));
    }
    m_fonts.push_back(font);
    return static_cast<uint16_t>(m_fonts.size()); // the record count plus the missing number 4
}

uint16_t XlsStyleTable::numberFormatFor(const QString& format)
{
    if (const std::optional<int> id = NumberFormatTable::portableId(format)) {
        return static_cast<uint16_t>(*id);
    }
    for (size_t index = 0; index < m_customFormats.size(); ++index) {
        if (m_customFormats[index] == format) {
            return static_cast<uint16_t>(NumberFormatTable::kFirstCustomId + index);
        }
    }
    m_customFormats.push_back(format);
    return static_cast<uint16_t>(NumberFormatTable::kFirstCustomId + m_customFormats.size() - 1);
}

uint16_t XlsStyleTable::xfFor(const CellFormat& format)
{
    const auto found = m_xfIndex.find(format);
    if (found != m_xfIndex.end()) {
        return found->second;
    }
    if (m_cellXfs.size() >= kMaxCellXfs) {
        throw FormatError(QStringLiteral("The workbook uses more different cell formats than the "
                                         ".xls format can hold"));
    }
    const uint16_t font = fontFor(format.font);
    const uint16_t numberFormat = numberFormatFor(format.numberFormat);
    m_cellXfs.push_back(xfRecord(format, font, numberFormat));
    const auto index = static_cast<uint16_t>(16 + m_cellXfs.size() - 1);
    m_xfIndex.emplace(format, index);
    return index;
}

QByteArray XlsStyleTable::xfRecord(const CellFormat& format, uint16_t font,
                                   uint16_t numberFormat) const
{
    const Borders& borders = format.borders;
    const auto code = [&](Edge edge) {
        return static_cast<uint32_t>(FormatCodes::borderCode(borders.edge(edge)));
    };
    const auto colour = [&](Edge edge) -> uint32_t {
        return borders.edge(edge).isVisible()
                   ? FormatCodes::biffColor(borders.edge(edge).colorIndex, kAutomaticBorderColour)
                   : 0;
    };
    QByteArray data;
    ByteWriter out(data);
    out.u16(font);
    out.u16(numberFormat);
    out.u16(0x0001); // locked, cell XF, parent style XF 0
    out.u8(static_cast<uint32_t>(FormatCodes::horizontalCode(format.alignment.horizontal)) |
           (format.alignment.wrapText ? 0x08U : 0U) |
           (static_cast<uint32_t>(FormatCodes::verticalCode(format.alignment.vertical)) << 4));
    out.u8(0);    // rotation
    out.u8(0);    // indent, shrink, reading order
    out.u8(0xFC); // every attribute group is this XF's own
    out.u32(code(Edge::Left) | (code(Edge::Right) << 4) | (code(Edge::Top) << 8) |
            (code(Edge::Bottom) << 12) | (colour(Edge::Left) << 16) | (colour(Edge::Right) << 23));
    const bool filled = Palette::isIndex(format.fillColorIndex);
    out.u32(colour(Edge::Top) | (colour(Edge::Bottom) << 7) | (filled ? (1U << 26) : 0U));
    const uint32_t fore = filled ? FormatCodes::biffColor(format.fillColorIndex, 64) : 64;
    out.u16(fore | (65U << 7));
    return data;
}

void XlsStyleTable::write(BiffStreamWriter& out) const
{
    for (const Font& font : m_fonts) {
        out.record(kFont, fontRecord(font));
    }
    for (size_t index = 0; index < m_customFormats.size(); ++index) {
        QByteArray data;
        ByteWriter writer(data);
        writer.u16(static_cast<uint32_t>(NumberFormatTable::kFirstCustomId + index));
        writer.raw(BiffStreamWriter::longString(m_customFormats[index]));
        out.record(kFormat, data);
    }
    // Fifteen style XFs (the Normal style and the fourteen built-in ones readers expect), the
    // default cell XF, then the workbook's own.
    out.record(kXf, styleXfRecord(0, 0x00));
    for (uint16_t index = 1; index < 15; ++index) {
        out.record(kXf, styleXfRecord(index <= 2 ? 1 : index <= 4 ? 2 : 0, 0xF4));
    }
    out.record(kXf, xfRecord(CellFormat(), 0, 0));
    for (const QByteArray& xf : m_cellXfs) {
        out.record(kXf, xf);
    }
    QByteArray normal;
    ByteWriter writer(normal);
    writer.u16(0x8000); // built-in style on XF 0
    writer.u8(0);       // Normal
    writer.u8(0xFF);
    out.record(kStyle, normal);
}

} // namespace platform::automation::workbook
