#include "platform/ui/list/ListView.h"

#include "platform/ui/list/ListCellDelegate.h"
#include "platform/ui/list/ListControl.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

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
    // The rows are chosen whole: Left and Right scroll sideways.
    if ((event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        horizontalScrollBar()->triggerAction(event->key() == Qt::Key_Left
                                                 ? QAbstractSlider::SliderSingleStepSub
                                                 : QAbstractSlider::SliderSingleStepAdd);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QScrollBar* sideways = horizontalScrollBar();
    const int kept = sideways->value();
    QTableView::scrollTo(index, hint);
    sideways->setValue(kept);
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

namespace {

// The page bar's range: a place of the order in ten-thousandths.
constexpr int PlaceSteps = 10000;

} // namespace

void ListView::setPageBar(bool shown)
{
    if (shown == m_paged)
        return;
    m_paged = shown;
    // The table's vertical bar would scroll within the page, whose rows always fit: a page
    // list's bar shows the page's place in the whole order instead.
    auto* bar = new QScrollBar(Qt::Vertical);
    setVerticalScrollBar(bar);
    if (shown) {
        bar->setTracking(false);
        bar->installEventFilter(this);
        connect(bar, &QAbstractSlider::sliderReleased, this, [this] { placeChosen(); });
        connect(bar, &QAbstractSlider::actionTriggered, this, [this](int action) { barAction(action); });
    }
    setVerticalScrollBarPolicy(shown ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    applyPlace();
}

QScrollBar* ListView::pageBar() const
{
    return m_paged ? verticalScrollBar() : nullptr;
}

void ListView::showPlace(double place, double share, bool enabled)
{
    m_place = std::clamp(place, 0.0, 1.0);
    m_share = std::clamp(share, 0.0, 1.0);
    m_placeEnabled = enabled;
    applyPlace();
}

void ListView::applyPlace()
{
    if (!m_paged)
        return;
    QScrollBar* bar = verticalScrollBar();
    const int step = std::clamp(int(m_share * PlaceSteps), 1, PlaceSteps);
    const int range = m_placeEnabled ? PlaceSteps - step : 0;
    const QSignalBlocker quiet(bar);
    bar->setRange(0, range);
    bar->setPageStep(step);
    bar->setSingleStep(1);
    bar->setValue(int(std::lround(m_place * range)));
    bar->setEnabled(m_placeEnabled);
}

void ListView::placeChosen()
{
    QScrollBar* bar = verticalScrollBar();
    if (onPlaceChosen && bar->maximum() > 0)
        onPlaceChosen(double(bar->sliderPosition()) / bar->maximum());
    else
        applyPlace();
}

void ListView::updateGeometries()
{
    QTableView::updateGeometries();
    // The table set the bar for its rows; it shows the page's place.
    applyPlace();
}

void ListView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, m_paged ? 0 : dy);
}

void ListView::verticalScrollbarAction(int action)
{
    // A page list's bar is heard by barAction.
    if (!m_paged)
        QTableView::verticalScrollbarAction(action);
}

void ListView::barAction(int action)
{
    if (action == QAbstractSlider::SliderMove) {
        // A drag ends in sliderReleased; a click that jumps the thumb lands here.
        if (!verticalScrollBar()->isSliderDown())
            placeChosen();
        return;
    }
    if (onPageBar)
        onPageBar(action);
    else
        applyPlace();
}

void ListView::verticalScrollbarValueChanged(int value)
{
    if (!m_paged)
        QTableView::verticalScrollbarValueChanged(value);
}

bool ListView::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel over the bar moves lines as over the rows.
    if (m_paged && watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QTableView::eventFilter(watched, event);
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
