#include "platform/automation/excel/SheetPrinter.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/excel/SheetEditing.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/PrinterSetup.h"

#include <QPainter>
#include <QPrinter>

namespace platform::automation::excel {

using workbook::CellRange;

namespace {

constexpr double kPointsPerWidthUnit = 7.0 * 72.0 / 96.0; // one digit of the default font

double points(const SettingsObject& setup, const char* name, double fallback)
{
    const AutomationValue value = setup.value(name);
    return value.isEmpty() || value.toText().empty() ? fallback : value.toNumber();
}

QString text(const SettingsObject& setup, const char* name)
{
    return platform::text::toQString(setup.value(name).toText());
}

} // namespace

void SheetPrinter::print(const workbook::Worksheet& sheet, const SettingsObject& setup, int copies)
{
    if (copies <= 0)
        return;
    const auto used = sheet.usedRange();
    QPrinter* chosen = platform::ui::PrinterSetup::forJob();
    if (!chosen)
        return; // no printer, and no file chosen instead
    QPrinter& printer = *chosen;
    printer.setCopyCount(copies);
    if (setup.value("orientation").toInteger() == 2)
        printer.setPageOrientation(QPageLayout::Landscape);
    else if (setup.value("orientation").toInteger() == 1)
        printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(
        QMarginsF(points(setup, "leftmargin", 51), points(setup, "topmargin", 72),
                  points(setup, "rightmargin", 51), points(setup, "bottommargin", 72)),
        QPageLayout::Point);
    QPainter painter;
    if (!painter.begin(&printer))
        throw AutomationError("the printer cannot be opened");
    const QRectF page = printer.pageLayout().paintRect(QPageLayout::Point);
    const double scale = printer.resolution() / 72.0;
    painter.scale(scale, scale);
    const QString header = text(setup, "centerheader");
    const QString footer = text(setup, "centerfooter");
    double y = 0;
    auto decorate = [&] {
        painter.setFont(QFont(QStringLiteral("Arial"), 9));
        painter.drawText(QRectF(0, -36, page.width(), 30), Qt::AlignCenter, header);
        painter.drawText(QRectF(0, page.height() + 6, page.width(), 30), Qt::AlignCenter, footer);
    };
    decorate();
    if (used) {
        for (int row = 1; row <= used->lastRow; ++row) {
            const double height =
                sheet.rowHeight(row).value_or(SheetEditing::fontHeight(sheet, row));
            if (y + height > page.height() && y > 0) {
                printer.newPage();
                decorate();
                y = 0;
            }
            double x = 0;
            for (int column = 1; column <= used->lastColumn && x < page.width(); ++column) {
                const double width = sheet.columnWidth(column) * kPointsPerWidthUnit + 5;
                const QRectF box(x, y, width, height);
                if (const workbook::Cell* cell = sheet.cellAt(row, column)) {
                    QFont font(cell->format.font.name,
                               std::max(1, static_cast<int>(cell->format.font.size)));
                    font.setBold(cell->format.font.bold);
                    font.setItalic(cell->format.font.italic);
                    painter.setFont(font);
                    int flags = Qt::AlignVCenter;
                    const auto horizontal = cell->format.alignment.horizontal;
                    if (horizontal == workbook::HorizontalAlignment::Right ||
                        (horizontal == workbook::HorizontalAlignment::General &&
                         cell->value.type() == workbook::CellValue::Type::Number))
                        flags |= Qt::AlignRight;
                    else if (horizontal == workbook::HorizontalAlignment::Center)
                        flags |= Qt::AlignHCenter;
                    painter.drawText(box.adjusted(2, 0, -2, 0), flags,
                                     SheetEditing::shownText(*cell));
                    const auto& borders = cell->format.borders;
                    if (borders.edge(workbook::Edge::Left).isVisible())
                        painter.drawLine(box.topLeft(), box.bottomLeft());
                    if (borders.edge(workbook::Edge::Right).isVisible())
                        painter.drawLine(box.topRight(), box.bottomRight());
                    if (borders.edge(workbook::Edge::Top).isVisible())
                        painter.drawLine(box.topLeft(), box.topRight());
                    if (borders.edge(workbook::Edge::Bottom).isVisible())
                        painter.drawLine(box.bottomLeft(), box.bottomRight());
                }
                x += width;
            }
            y += height;
        }
    }
    painter.end();
    platform::ui::PrinterSetup::jobDone();
}

} // namespace platform::automation::excel
