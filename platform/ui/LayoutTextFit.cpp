#include "platform/ui/LayoutFaults.h"

#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/Window.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>
#include <QTabBar>

namespace platform::ui {
namespace {

QString shownText(const QString& text)
{
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    return plain;
}

std::string sizeText(int width, int height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string buttonFault(const Control& control, QAbstractButton* button)
{
    const QString text = shownText(button->text());
    if (text.trimmed().isEmpty())
        return {};
    const QFontMetrics metrics = button->fontMetrics();
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const bool box = control.kind() == "check" || control.kind() == "radio";
    const QRect room = button->style()->subElementRect(
        box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
    int needed = metrics.horizontalAdvance(text);
    if (!button->icon().isNull())
        needed += button->iconSize().width() + 4;
    if (room.width() < needed || room.height() + 2 < metrics.height())
        return "text \"" + text.toStdString() + "\" needs " + sizeText(needed, metrics.height()) +
               " but has " + sizeText(room.width(), room.height());
    return {};
}

std::string labelFault(QLabel* label)
{
    const QString text = label->text();
    if (text.trimmed().isEmpty())
        return {};
    const QFontMetrics metrics = label->fontMetrics();
    const QRect room = label->contentsRect();
    const int flags =
        static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, room.width(), 10000), flags, text.trimmed());
    // One line needs the height of its letters; more lines their whole line spacing.
    const bool oneLine = needed.height() < 2 * metrics.lineSpacing();
    const int height =
        oneLine ? metrics.tightBoundingRect(text.trimmed()).height() : needed.height();
    if (needed.width() > room.width() || height > room.height() + 2)
        return "text \"" + text.trimmed().toStdString() + "\" needs " +
               sizeText(needed.width(), needed.height()) + " but has " +
               sizeText(room.width(), room.height());
    return {};
}

std::string tabFault(QTabBar* bar, const ScreenArea& area)
{
    const QFontMetrics metrics = bar->fontMetrics();
    for (int i = 0; i < bar->count(); ++i)
        if (bar->tabRect(i) == area.rect) {
            const QString text = shownText(bar->tabText(i));
            if (metrics.horizontalAdvance(text) > area.rect.width() ||
                metrics.height() > area.rect.height())
                return "tab text \"" + text.toStdString() + "\" is wider than its tab";
            if (!bar->rect().contains(area.rect))
                return "tab lies past the end of its bar";
        }
    return {};
}

// A column header shows its text whole when the text, placed as the header places it, lies
// inside the room its section leaves for a label and inside the part of the header shown.
std::string headerFault(const QHeaderView* header)
{
    const QAbstractItemModel* model = header->model();
    if (!model || !header->isVisible())
        return {};
    const QFontMetrics metrics = header->fontMetrics();
    for (int section = 0; section < header->count(); ++section) {
        if (header->isSectionHidden(section))
            continue;
        const QString text = model->headerData(section, header->orientation()).toString();
        if (text.trimmed().isEmpty())
            continue;
        QStyleOptionHeader option;
        option.initFrom(header);
        option.rect = QRect(header->sectionViewportPosition(section), 0,
                            header->sectionSize(section), header->height());
        option.text = text;
        option.textAlignment = header->defaultAlignment();
        const QRect room = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
        const QRect placed =
            QStyle::alignedRect(header->layoutDirection(), header->defaultAlignment(),
                                QSize(metrics.horizontalAdvance(text), metrics.height()), room);
        const QRect shown = room & header->rect();
        if (placed.left() < shown.left() || placed.right() > shown.right())
            return "column header \"" + text.toStdString() + "\" needs " +
                   std::to_string(placed.width()) + " but shows " +
                   std::to_string(std::max(0, shown.width()));
    }
    return {};
}

} // namespace

std::string textFault(const Control& control, const ScreenArea& area)
{
    QWidget* widget = area.widget;
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return buttonFault(control, button);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return labelFault(label);
    if (auto* bar = qobject_cast<QTabBar*>(widget))
        return tabFault(bar, area);
    for (const QHeaderView* header :
         widget->findChildren<QHeaderView*>(QString(), Qt::FindDirectChildrenOnly))
        if (header->orientation() == Qt::Horizontal) {
            const std::string fault = headerFault(header);
            if (!fault.empty())
                return fault;
        }
    return {};
}

} // namespace platform::ui
