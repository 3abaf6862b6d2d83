#include "platform/ui/list/ListView.h"

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
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
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
    if (!at.data(Qt::DecorationRole).isNull()) {
        // The icon is drawn at the left of its cell, one icon size wide.
        const QRect cell = visualRect(at);
        const int iconEnd = cell.left() + iconSize().width() + 6;
        if (event->position().toPoint().x() < iconEnd)
            zone = ListControl::ZoneIcon;
    }
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
    if (shown == hasPageBar())
        return;
    if (!shown) {
        delete m_pageBar;
        m_pageBar = nullptr;
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        updateGeometries();
        return;
    }
    // The table's own bar would scroll within the page; the rows of the page always fit.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageBar = new QScrollBar(Qt::Vertical, this);
    m_pageBar->setTracking(false);
    m_pageBar->setRange(0, 0);
    connect(m_pageBar, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) {
            // A jump by a click (not a drag, which ends in sliderReleased).
            if (!m_pageBar->isSliderDown() && onPlaceChosen && m_pageBar->maximum() > 0)
                onPlaceChosen(double(m_pageBar->sliderPosition()) / m_pageBar->maximum());
            return;
        }
        if (onPageBar)
            onPageBar(action);
    });
    connect(m_pageBar, &QAbstractSlider::sliderReleased, this, [this] {
        if (onPlaceChosen && m_pageBar->maximum() > 0)
            onPlaceChosen(double(m_pageBar->sliderPosition()) / m_pageBar->maximum());
    });
    m_pageBar->show();
    updateGeometries();
}

void ListView::showPlace(double place, double share, bool enabled)
{
    if (!m_pageBar)
        return;
    const int step = std::clamp(int(share * PlaceSteps), 1, PlaceSteps);
    const int range = enabled ? PlaceSteps - step : 0;
    const QSignalBlocker quiet(m_pageBar);
    m_pageBar->setRange(0, range);
    m_pageBar->setPageStep(step);
    m_pageBar->setSingleStep(1);
    m_pageBar->setValue(int(std::lround(std::clamp(place, 0.0, 1.0) * range)));
    m_pageBar->setEnabled(enabled);
}

void ListView::updateGeometries()
{
    QTableView::updateGeometries();
    placePageBar();
}

void ListView::placePageBar()
{
    if (!m_pageBar || m_placing)
        return;
    m_placing = true;
    const QMargins margins = viewportMargins();
    const int width = m_pageBar->sizeHint().width();
    if (margins.right() != width)
        setViewportMargins(margins.left(), margins.top(), width, margins.bottom());
    const QRect area = viewport()->geometry();
    m_pageBar->setGeometry(area.right() + 1, area.top() - margins.top(), width,
                           area.height() + margins.top());
    m_pageBar->raise();
    m_placing = false;
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
