#include "platform/ui/report/ReportBandPainter.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/report/ReportDefinition.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace platform::ui {
namespace {

// Pictures pad with blanks; they are invisible at the end of a text and would only push a
// right-aligned or centred text away from its edge.
std::string trimmedFor(const std::string& text, ReportAlignment alignment)
{
    const std::size_t last = text.find_last_not_of(' ');
    if (last == std::string::npos)
        return {};
    std::size_t first = 0;
    if (alignment != ReportAlignment::Left)
        first = text.find_first_not_of(' ');
    return text.substr(first, last + 1 - first);
}

int qtAlignment(ReportAlignment alignment)
{
    switch (alignment) {
    case ReportAlignment::Right:
        return Qt::AlignRight;
    case ReportAlignment::Center:
        return Qt::AlignHCenter;
    case ReportAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace

ReportBandPainter::ReportBandPainter(QPainter& painter, const ReportDefinition& definition,
                                     double pixelsPerUnit)
    : m_painter(painter), m_definition(definition), m_pixelsPerUnit(pixelsPerUnit)
{
}

int ReportBandPainter::heightOf(const ReportBand& band, const TextOf& textOf) const
{
    int growth = 0;
    for (const ReportItem& item : band.items)
        if (item.wrap)
            growth = std::max(growth, growthOf(item, textOf(item)));
    return band.height + growth;
}

void ReportBandPainter::paint(const ReportBand& band, int top, int height, const TextOf& textOf)
{
    const int growth = std::max(0, height - band.height);
    for (const ReportItem& item : band.items) {
        switch (item.kind) {
        case ReportItemKind::Label:
        case ReportItemKind::Field:
            if (item.wrap && item.width > 0 && item.height > 0)
                paintWrapped(item, top, textOf(item));
            else
                paintText(item, top, textOf(item));
            break;
        case ReportItemKind::Box:
            paintBox(item, top, growth, band.height);
            break;
        case ReportItemKind::Line:
            paintLine(item, top, growth, band.height);
            break;
        }
    }
}

QFont ReportBandPainter::fontFor(const ReportItem& item) const
{
    const ReportFont font = m_definition.fontOf(item);
    QFont qtFont(text::toQString(font.typeface));
    qtFont.setPointSizeF(font.size);
    qtFont.setBold(font.bold);
    qtFont.setItalic(font.italic);
    return qtFont;
}

void ReportBandPainter::paintText(const ReportItem& item, int top, const std::string& text)
{
    const std::string shown = trimmedFor(text, item.alignment);
    if (shown.empty())
        return;
    m_painter.setFont(fontFor(item));
    m_painter.setPen(QPen(Qt::black));

    int flags = qtAlignment(item.alignment) | Qt::AlignVCenter | Qt::TextSingleLine;
    // An item without a size prints its whole text from its position.
    if (item.width == 0 || item.height == 0)
        flags = (flags & ~Qt::AlignVCenter) | Qt::AlignTop | Qt::TextDontClip;
    const QRectF area(pixels(item.x), pixels(top + item.y), pixels(item.width),
                      pixels(item.height));
    m_painter.drawText(area, flags, text::toQString(shown));
}

double ReportBandPainter::layOut(QTextLayout& layout, const ReportItem& item) const
{
    QTextOption option(static_cast<Qt::Alignment>(qtAlignment(item.alignment)));
    // Break at blanks and hyphens; a part number with neither is broken where the width ends.
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    double height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(pixels(item.width));
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

int ReportBandPainter::growthOf(const ReportItem& item, const std::string& text) const
{
    const std::string shown = trimmedFor(text, item.alignment);
    if (shown.empty() || item.width <= 0 || item.height <= 0)
        return 0;
    QTextLayout layout(text::toQString(shown), fontFor(item), m_painter.device());
    const double height = layOut(layout, item);
    if (layout.lineCount() <= 1)
        return 0;
    // The lines keep the room above and below them that one line has in the item.
    const double padding = std::max(0.0, pixels(item.height) - layout.lineAt(0).height());
    const int needed = static_cast<int>(std::ceil((height + padding) / m_pixelsPerUnit));
    return std::max(0, needed - item.height);
}

void ReportBandPainter::paintWrapped(const ReportItem& item, int top, const std::string& text)
{
    const std::string shown = trimmedFor(text, item.alignment);
    if (shown.empty())
        return;
    QTextLayout layout(text::toQString(shown), fontFor(item), m_painter.device());
    layOut(layout, item);
    // The first line sits where a one-line text would, level with the band's other items.
    const double padding = std::max(0.0, pixels(item.height) - layout.lineAt(0).height());
    m_painter.setPen(QPen(Qt::black));
    layout.draw(&m_painter, QPointF(pixels(item.x), pixels(top + item.y) + padding / 2));
}

void ReportBandPainter::paintBox(const ReportItem& item, int top, int growth, int foot)
{
    const int upper = item.y >= foot ? item.y + growth : item.y;
    const int lower = item.y + item.height >= foot ? item.y + item.height + growth
                                                   : item.y + item.height;
    m_painter.setPen(QPen(Qt::black, pixels(item.lineWidth)));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(
        QRectF(pixels(item.x), pixels(top + upper), pixels(item.width), pixels(lower - upper)));
}

void ReportBandPainter::paintLine(const ReportItem& item, int top, int growth, int foot)
{
    const auto moved = [&](int y) { return y >= foot ? y + growth : y; };
    m_painter.setPen(QPen(Qt::black, pixels(item.lineWidth)));
    m_painter.drawLine(QPointF(pixels(item.x), pixels(top + moved(item.y))),
                       QPointF(pixels(item.x + item.width),
                               pixels(top + moved(item.y + item.height))));
}

} // namespace platform::ui
