#include "platform/automation/excel/SheetPrinter.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/excel/SheetEditing.h"
#include "platform/automation/excel/SheetPageLayout.h"
#include "platform/text/Cp1251.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace platform::automation::excel {

using workbook::CellRange;

namespace {

// The spreadsheet's defaults where the page setup holds no value, in points.
constexpr double kDefaultSideMargin = 54;
constexpr double kDefaultEndMargin = 72;
constexpr double kDefaultHeaderMargin = 36;
constexpr double kHeaderFontSize = 10;
constexpr double kCellPadding = 2;

std::optional<double> number(const SettingsObject& setup, const char* name)
{
    const AutomationValue value = setup.value(name);
    if (value.isEmpty() || value.toText().empty())
        return std::nullopt;
    return value.toNumber();
}

double points(const SettingsObject& setup, const char* name, double fallback)
{
    return number(setup, name).value_or(fallback);
}

QString text(const SettingsObject& setup, const char* name)
{
    return platform::text::toQString(setup.value(name).toText());
}

QPageSize::PageSizeId paperOf(int code)
{
    switch (code) {
    case 1:
        return QPageSize::Letter;
    case 5:
        return QPageSize::Legal;
    case 8:
        return QPageSize::A3;
    case 11:
        return QPageSize::A5;
    default:
        return QPageSize::A4;
    }
}

// "&P" the page number, "&N" the number of pages, "&&" an ampersand.
QString headerText(const QString& pattern, int page, int pages)
{
    QString out;
    for (qsizetype at = 0; at < pattern.size(); ++at) {
        if (pattern[at] == u'&' && at + 1 < pattern.size()) {
            const QChar code = pattern[at + 1].toUpper();
            if (code == u'P' || code == u'N' || code == u'&') {
                out += code == u'P'   ? QString::number(page)
                       : code == u'N' ? QString::number(pages)
                                      : QStringLiteral("&");
                ++at;
                continue;
            }
        }
        out += pattern[at];
    }
    return out;
}

// Draws in points on the printer: the painter's unit is the device pixel, and fonts are given
// in points, which the printer's resolution already turns into pixels.
class PagePainter
{
public:
    PagePainter(QPainter& painter, double dotsPerPoint) : m_painter(painter), m_dots(dotsPerPoint)
    {
    }

    QRectF rect(double x, double y, double width, double height) const
    {
        return {x * m_dots, y * m_dots, width * m_dots, height * m_dots};
    }
    void font(const QString& name, double size, bool bold, bool italic, bool underline)
    {
        QFont font(name);
        font.setPointSizeF(std::max(1.0, size));
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);
        m_painter.setFont(font);
    }
    void text(const QRectF& box, int flags, const QString& value, const QColor& colour = Qt::black)
    {
        m_painter.setPen(colour);
        m_painter.drawText(box, flags, value);
        m_painter.setPen(Qt::black);
    }
    void line(double x1, double y1, double x2, double y2, double width,
              const QColor& colour = Qt::black)
    {
        QPen pen(colour);
        pen.setWidthF(width * m_dots);
        m_painter.setPen(pen);
        m_painter.drawLine(QPointF(x1 * m_dots, y1 * m_dots), QPointF(x2 * m_dots, y2 * m_dots));
        m_painter.setPen(Qt::black);
    }

private:
    QPainter& m_painter;
    double m_dots;
};

// A palette colour; automatic and unknown indexes print black.
QColor colourOf(int colorIndex)
{
    const std::optional<uint32_t> rgb = workbook::Palette::rgb(colorIndex);
    return rgb ? QColor(QRgb(*rgb)) : QColor(Qt::black);
}

double lineWidth(const workbook::BorderLine& line)
{
    switch (line.weight) {
    case workbook::BorderWeight::Hairline:
        return 0.25;
    case workbook::BorderWeight::Medium:
        return 1.0;
    case workbook::BorderWeight::Thick:
        return 1.5;
    default:
        return 0.5;
    }
}

int alignmentFlags(const workbook::Cell& cell)
{
    int flags = Qt::TextSingleLine;
    switch (cell.format.alignment.vertical) {
    case workbook::VerticalAlignment::Top:
        flags |= Qt::AlignTop;
        break;
    case workbook::VerticalAlignment::Center:
        flags |= Qt::AlignVCenter;
        break;
    default:
        flags |= Qt::AlignBottom;
        break;
    }
    const auto horizontal = cell.format.alignment.horizontal;
    if (horizontal == workbook::HorizontalAlignment::Right ||
        (horizontal == workbook::HorizontalAlignment::General &&
         cell.value.type() == workbook::CellValue::Type::Number))
        flags |= Qt::AlignRight;
    else if (horizontal == workbook::HorizontalAlignment::Center ||
             horizontal == workbook::HorizontalAlignment::CenterAcrossSelection)
        flags |= Qt::AlignHCenter;
    else
        flags |= Qt::AlignLeft;
    return flags;
}

} // namespace

void SheetPrinter::print(const workbook::Worksheet& sheet, const SettingsObject& setup, int copies,
                         QPrinter& printer)
{
    if (copies <= 0)
        return;
    printer.setCopyCount(copies);
    printer.setFullPage(true); // the margins are the page setup's, drawn here
    const bool landscape = setup.value("orientation").toInteger() == 2;
    printer.setPageLayout(
        QPageLayout(QPageSize(paperOf(static_cast<int>(number(setup, "papersize").value_or(9)))),
                    landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF()));

    SheetPageLayout::Settings settings;
    settings.paper = printer.pageLayout().fullRect(QPageLayout::Point).size();
    settings.margins = QMarginsF(points(setup, "leftmargin", kDefaultSideMargin),
                                 points(setup, "topmargin", kDefaultEndMargin),
                                 points(setup, "rightmargin", kDefaultSideMargin),
                                 points(setup, "bottommargin", kDefaultEndMargin));
    // Zoom False (0) with pages to fit to fits; otherwise the zoom in percent.
    const std::optional<double> zoom = number(setup, "zoom");
    if (zoom && *zoom == 0) {
        settings.fitPagesWide = static_cast<int>(points(setup, "fittopageswide", 1));
        settings.fitPagesTall = static_cast<int>(points(setup, "fittopagestall", 1));
    } else if (zoom) {
        settings.zoom = *zoom / 100.0;
    }
    const SheetPageLayout layout(sheet, settings);

    QPainter painter;
    if (!painter.begin(&printer))
        throw AutomationError("the printer cannot be opened");
    PagePainter page(painter, printer.resolution() / 72.0);
    const double scale = layout.scale();
    const QString header = text(setup, "centerheader");
    const QString footer = text(setup, "centerfooter");
    const double headerMargin = points(setup, "headermargin", kDefaultHeaderMargin);
    const double footerMargin = points(setup, "footermargin", kDefaultHeaderMargin);
    const int pageCount = std::max<int>(1, static_cast<int>(layout.pages().size()));

    const auto decorate = [&](int number) {
        page.font(QStringLiteral("Arial"), kHeaderFontSize, false, false, false);
        const double width = settings.paper.width();
        if (!header.isEmpty())
            page.text(page.rect(0, headerMargin, width, kHeaderFontSize * 1.5),
                      Qt::AlignHCenter | Qt::AlignTop, headerText(header, number, pageCount));
        if (!footer.isEmpty())
            page.text(page.rect(0, settings.paper.height() - footerMargin - kHeaderFontSize * 1.5,
                                width, kHeaderFontSize * 1.5),
                      Qt::AlignHCenter | Qt::AlignBottom, headerText(footer, number, pageCount));
    };

    int number = 0;
    for (const SheetPageLayout::Page& area : layout.pages()) {
        if (number++ > 0)
            printer.newPage();
        decorate(number);
        const double left = settings.margins.left();
        const double top = settings.margins.top();
        // Where a cell of this page lies on the paper, in points.
        const auto x = [&](int column) {
            return left + (layout.columnLeft(column) - layout.columnLeft(area.firstColumn)) * scale;
        };
        const auto y = [&](int row) {
            return top + (layout.rowTop(row) - layout.rowTop(area.firstRow)) * scale;
        };
        painter.save();
        painter.setClipRect(page.rect(left, top,
                                      settings.paper.width() - left - settings.margins.right(),
                                      settings.paper.height() - top - settings.margins.bottom()));
        for (int row = area.firstRow; row <= area.lastRow; ++row) {
            for (int column = area.firstColumn; column <= area.lastColumn; ++column) {
                if (layout.columnWidth(column) <= 0 || layout.rowHeight(row) <= 0)
                    continue;
                // A merged area is one cell: its first cell's text across the whole area (drawn
                // with the area's first cell on this page), and no lines inside it.
                const std::optional<CellRange> merge = sheet.merges().areaAt(row, column);
                const CellRange box = merge.value_or(CellRange::cell(row, column));
                const bool first = row == std::max(box.firstRow, area.firstRow) &&
                                   column == std::max(box.firstColumn, area.firstColumn);
                const workbook::Cell* owner = sheet.cellAt(box.firstRow, box.firstColumn);
                const workbook::Cell* cell = sheet.cellAt(row, column);
                if (!cell && !(first && owner))
                    continue;
                const double boxLeft = x(box.firstColumn);
                const double boxTop = y(box.firstRow);
                const double boxRight = boxLeft + (layout.columnLeft(box.lastColumn + 1) -
                                                   layout.columnLeft(box.firstColumn)) *
                                                      scale;
                const double boxBottom =
                    boxTop + (layout.rowTop(box.lastRow + 1) - layout.rowTop(box.firstRow)) * scale;
                if (first && owner) {
                    const workbook::Font& font = owner->format.font;
                    page.font(font.name, font.size * scale, font.bold, font.italic,
                              font.underline != workbook::Underline::None);
                    page.text(page.rect(boxLeft + kCellPadding * scale, boxTop,
                                        boxRight - boxLeft - 2 * kCellPadding * scale,
                                        boxBottom - boxTop),
                              alignmentFlags(*owner), SheetEditing::shownText(*owner),
                              colourOf(font.colorIndex));
                }
                if (!cell)
                    continue;
                const double cellLeft = x(column);
                const double cellTop = y(row);
                const double cellRight = cellLeft + layout.columnWidth(column) * scale;
                const double cellBottom = cellTop + layout.rowHeight(row) * scale;
                const auto& borders = cell->format.borders;
                const auto edge = [&](workbook::Edge which, bool outline, double x1, double y1,
                                      double x2, double y2) {
                    const workbook::BorderLine& line = borders.edge(which);
                    if (line.isVisible() && outline)
                        page.line(x1, y1, x2, y2, lineWidth(line) * scale,
                                  colourOf(line.colorIndex));
                };
                edge(workbook::Edge::Left, column == box.firstColumn, cellLeft, cellTop, cellLeft,
                     cellBottom);
                edge(workbook::Edge::Right, column == box.lastColumn, cellRight, cellTop, cellRight,
                     cellBottom);
                edge(workbook::Edge::Top, row == box.firstRow, cellLeft, cellTop, cellRight,
                     cellTop);
                edge(workbook::Edge::Bottom, row == box.lastRow, cellLeft, cellBottom, cellRight,
                     cellBottom);
            }
        }
        painter.restore();
    }
    if (layout.pages().empty())
        decorate(1);
    painter.end();
}

} // namespace platform::automation::excel
