#include "platform/ui/list/ListView.h"

#include "platform/ui/list/ListCellDelegate.h"
#include "platform/ui/list/ListControl.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QWheelEvent>

namespace platform::ui {

ListView::ListView(QWidget* parent) : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    // Tab leaves the list for the next control, as in every other list box.
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
}

QRect ListView::iconRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.data(Qt::DecorationRole).isNull())
        return {};
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    if (const auto* delegate = dynamic_cast<const ListCellDelegate*>(itemDelegateForIndex(index)))
        delegate->describe(&option, index);
    return style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
}

QString ListView::dragFormat()
{
    return QStringLiteral("application/x-quelb-list-drag");
}

void ListView::keyPressEvent(QKeyEvent* event)
{
    if (onKey && onKey(event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ListView::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !onPress)
        return;
    const QModelIndex at = indexAt(event->position().toPoint());
    if (!at.isValid()) {
        onPress(-1, -1, ListControl::ZoneNothing);
        return;
    }
    int zone = ListControl::ZoneRow;
    // The icon zone is the cell's part left of the icon's right edge, where it is drawn.
    const QRect icon = iconRect(at);
    if (!icon.isEmpty() && event->position().toPoint().x() <= icon.right() + 2)
        zone = ListControl::ZoneIcon;
    onPress(at.row(), at.column(), zone);
}

void ListView::wheelEvent(QWheelEvent* event)
{
    if (onWheel) {
        const int steps = event->angleDelta().y() / 40;
        if (steps != 0)
            onWheel(-steps);
        event->accept();
        return;
    }
    QTableView::wheelEvent(event);
}

void ListView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    if (onResize)
        onResize();
}

bool ListView::accepts(const QMimeData* data) const
{
    return !dropId.isEmpty() && data && data->hasFormat(dragFormat()) &&
           QString::fromUtf8(data->data(dragFormat())).compare(dropId, Qt::CaseInsensitive) == 0;
}

void ListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void ListView::dropEvent(QDropEvent* event)
{
    if (!accepts(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (onDrop)
        onDrop();
}

} // namespace platform::ui
