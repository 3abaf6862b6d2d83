#include "platform/automation/workbook/XlsxFormatCache.h"

#include "platform/automation/workbook/FormatCodes.h"

#include <array>

namespace platform::automation::workbook {
namespace {

lxw_color_t colourOf(int colorIndex)
{
    const uint32_t rgb = Palette::rgb(colorIndex).value_or(0);
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK)
                    : rgb; // 0 means "no colour" to the library
}

void setBorder(lxw_format* format, const BorderLine& line, void (*setStyle)(lxw_format*, uint8_t),
               void (*setColour)(lxw_format*, lxw_color_t))
{
    const int code = FormatCodes::borderCode(line);
    if (code == 0) {
        return;
    }
    setStyle(format, static_cast<uint8_t>(code));
    if (Palette::isIndex(line.colorIndex)) {
        setColour(format, colourOf(line.colorIndex));
    }
}

} // namespace

lxw_format* XlsxFormatCache::formatFor(const CellFormat& format)
{
    const auto found = m_formats.find(format);
    if (found != m_formats.end()) {
        return found->second;
    }
    lxw_format* created = create(format);
    m_formats.emplace(format, created);
    return created;
}

lxw_format* XlsxFormatCache::create(const CellFormat& format)
{
    lxw_format* result = workbook_add_format(m_workbook);
    const QByteArray fontName = format.font.name.toUtf8();
    format_set_font_name(result, fontName.isEmpty() ? "Arial" : fontName.constData());
    format_set_font_size(result, format.font.size);
    if (format.font.bold) {
        format_set_bold(result);
    }
    if (format.font.italic) {
        format_set_italic(result);
    }
    if (format.font.underline != Underline::None) {
        format_set_underline(result, format.font.underline == Underline::Double
                                         ? LXW_UNDERLINE_DOUBLE
                                         : LXW_UNDERLINE_SINGLE);
    }
    if (Palette::isIndex(format.font.colorIndex)) {
        format_set_font_color(result, colourOf(format.font.colorIndex));
    }
    const int horizontal = FormatCodes::horizontalCode(format.alignment.horizontal);
    if (horizontal != 0) {
        format_set_align(result, static_cast<uint8_t>(horizontal));
    }
    static constexpr std::array<uint8_t, 5> kVertical = {
        LXW_ALIGN_VERTICAL_TOP, LXW_ALIGN_VERTICAL_CENTER, LXW_ALIGN_VERTICAL_BOTTOM,
        LXW_ALIGN_VERTICAL_JUSTIFY, LXW_ALIGN_VERTICAL_DISTRIBUTED};
    const int vertical = FormatCodes::verticalCode(format.alignment.vertical);
    if (vertical != 2) {
        format_set_align(result, kVertical[static_cast<size_t>(vertical)]);
    }
    if (format.alignment.wrapText) {
        format_set_text_wrap(result);
    }
    setBorder(result, format.borders.edge(Edge::Left), format_set_left, format_set_left_color);
    setBorder(result, format.borders.edge(Edge::Right), format_set_right, format_set_right_color);
    setBorder(result, format.borders.edge(Edge::Top), format_set_top, format_set_top_color);
    setBorder(result, format.borders.edge(Edge::Bottom), format_set_bottom,
              format_set_bottom_color);
    if (!format.numberFormat.isEmpty() &&
        format.numberFormat.compare(u"General", Qt::CaseInsensitive) != 0) {
        format_set_num_format(result, format.numberFormat.toUtf8().constData());
    }
    if (Palette::isIndex(format.fillColorIndex)) {
        format_set_pattern(result, LXW_PATTERN_SOLID);
        format_set_bg_color(result, colourOf(format.fillColorIndex));
    }
    return result;
}

} // namespace platform::automation::workbook
