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
#include <QStyle>
#include <QStyleOptionSlider>
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
// How far a thumb stands off an end the page has not reached: enough for a person to see it.
constexpr int EdgeGapPixels = 3;

// The page bar, which can say where its groove and thumb are drawn.
class PageBar : public QScrollBar
{
public:
    PageBar() : QScrollBar(Qt::Vertical) {}

    QRect part(QStyle::SubControl part) const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_ScrollBar, &option, part, this);
    }
};

} // namespace

void ListView::setPageBar(bool shown)
{
    if (shown == m_paged)
        return;
    m_paged = shown;
    // The table's vertical bar would scroll within the page, whose rows always fit: a page
    // list's bar shows the page's place in the whole order instead.
    QScrollBar* bar = shown ? new PageBar : new QScrollBar(Qt::Vertical);
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

void ListView::showPlace(double place, double share, bool first, bool last)
{
    m_place = std::clamp(place, 0.0, 1.0);
    m_share = std::clamp(share, 0.0, 1.0);
    m_first = first;
    m_last = last;
    applyPlace();
}

QRect ListView::pageThumb() const
{
    const auto* bar = dynamic_cast<const PageBar*>(pageBar());
    return bar ? bar->part(QStyle::SC_ScrollBarSlider) : QRect();
}

int ListView::edgeGap(int range) const
{
    if (range < 2)
        return 0;
    const auto* bar = dynamic_cast<const PageBar*>(pageBar());
    const int span = bar ? bar->part(QStyle::SC_ScrollBarGroove).height() -
                               bar->part(QStyle::SC_ScrollBarSlider).height()
                         : 0;
    // Not laid out yet: one step off the end until the bar has its size.
    if (span <= 0)
        return 1;
    const int pixels = std::clamp(span / 4, 1, EdgeGapPixels);
    const int gap = int(std::ceil(double(pixels) * range / span));
    return std::clamp(gap, 1, range / 2);
}

void ListView::applyPlace()
{
    if (!m_paged)
        return;
    QScrollBar* bar = verticalScrollBar();
    const bool enabled = !(m_first && m_last);
    const int step = std::clamp(int(m_share * PlaceSteps), 1, PlaceSteps);
    const int range = enabled ? PlaceSteps - step : 0;
    const QSignalBlocker quiet(bar);
    bar->setRange(0, range);
    bar->setPageStep(step);
    bar->setSingleStep(1);
    // The estimate of the place may put a page with records above it at the very top (or one
    // with records below at the bottom): the thumb would say there is nothing more that way.
    int value = int(std::lround(m_place * range));
    if (m_first) {
        value = 0;
    } else if (m_last) {
        value = range;
    } else if (range > 0) {
        const int gap = edgeGap(range);
        value = std::clamp(value, gap, range - gap);
    }
    bar->setValue(value);
    bar->setEnabled(enabled);
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
