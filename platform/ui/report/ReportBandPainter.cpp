#include "platform/ui/report/ReportBandPainter.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/report/ReportDefinition.h"

#include <QFont>
#include <QPainter>
#include <QPen>

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

void ReportBandPainter::paint(const ReportBand& band, int top, const TextOf& textOf)
{
    for (const ReportItem& item : band.items) {
        switch (item.kind) {
        case ReportItemKind::Label:
        case ReportItemKind::Field:
            paintText(item, top, textOf(item));
            break;
        case ReportItemKind::Box:
            paintBox(item, top);
            break;
        case ReportItemKind::Line:
            paintLine(item, top);
            break;
        }
    }
}

void ReportBandPainter::paintText(const ReportItem& item, int top, const std::string& text)
{
    const std::string shown = trimmedFor(text, item.alignment);
    if (shown.empty())
        return;
    const ReportFont font = m_definition.fontOf(item);
    QFont qtFont(text::toQString(font.typeface));
    qtFont.setPointSizeF(font.size);
    qtFont.setBold(font.bold);
    qtFont.setItalic(font.italic);
    m_painter.setFont(qtFont);
    m_painter.setPen(QPen(Qt::black));

    int flags = qtAlignment(item.alignment) | Qt::AlignVCenter | Qt::TextSingleLine;
    // An item without a size prints its whole text from its position.
    if (item.width == 0 || item.height == 0)
        flags = (flags & ~Qt::AlignVCenter) | Qt::AlignTop | Qt::TextDontClip;
    const QRectF area(pixels(item.x), pixels(top + item.y), pixels(item.width),
                      pixels(item.height));
    m_painter.drawText(area, flags, text::toQString(shown));
}

void ReportBandPainter::paintBox(const ReportItem& item, int top)
{
    m_painter.setPen(QPen(Qt::black, pixels(item.lineWidth)));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(
        QRectF(pixels(item.x), pixels(top + item.y), pixels(item.width), pixels(item.height)));
}

void ReportBandPainter::paintLine(const ReportItem& item, int top)
{
    m_painter.setPen(QPen(Qt::black, pixels(item.lineWidth)));
    m_painter.drawLine(QPointF(pixels(item.x), pixels(top + item.y)),
                       QPointF(pixels(item.x + item.width), pixels(top + item.y + item.height)));
}

} // namespace platform::ui
