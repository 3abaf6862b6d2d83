#include "platform/ui/ScrollIntoView.h"

#include "platform/ui/UserInput.h"

#include <QMdiArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

namespace platform::ui {
namespace {

// More than any client area needs; a bar that stops moving ends the scrolling sooner.
constexpr int kMostClicks = 200;

QMdiArea* clientAreaHolding(QWidget* widget)
{
    for (QWidget* holder = widget->parentWidget(); holder; holder = holder->parentWidget())
        if (auto* area = qobject_cast<QMdiArea*>(holder->parentWidget());
            area && holder == area->viewport())
            return area;
    return nullptr;
}

// Where a person clicks to move the bar one step: the arrow at its start or at its end.
QPoint arrowOf(const QScrollBar& bar, bool forward)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar.orientation();
    if (bar.orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    option.upsideDown = bar.invertedAppearance();
    const QRect arrow = bar.style()->subControlRect(
        QStyle::CC_ScrollBar, &option,
        forward ? QStyle::SC_ScrollBarAddLine : QStyle::SC_ScrollBarSubLine, &bar);
    return arrow.center();
}

// -1 to scroll back, 1 forward, 0 when the span is in view (or as far in view as it can be).
int directionFor(int first, int last, int viewFirst, int viewLast)
{
    if (first < viewFirst && last < viewLast)
        return -1;
    if (last > viewLast && first > viewFirst)
        return 1;
    return 0;
}

// One click on the arrow the area asks for; false when none helps any more.
bool stepTowards(QMdiArea& client, const ScreenArea& area)
{
    QWidget* viewport = client.viewport();
    const QRect target(area.widget->mapTo(viewport, area.rect.topLeft()), area.rect.size());
    const QRect view = viewport->rect();
    struct Axis
    {
        QScrollBar* bar;
        int direction;
    };
    const Axis axes[] = {{client.horizontalScrollBar(),
                          directionFor(target.left(), target.right(), view.left(), view.right())},
                         {client.verticalScrollBar(),
                          directionFor(target.top(), target.bottom(), view.top(), view.bottom())}};
    for (const Axis& axis : axes) {
        QScrollBar* bar = axis.bar;
        if (axis.direction == 0 || !bar || !bar->isVisible())
            continue;
        const bool forward = axis.direction > 0;
        if (forward ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum())
            continue;
        const int before = bar->value();
        UserInput::click(bar->window(), bar->mapTo(bar->window(), arrowOf(*bar, forward)));
        if (bar->value() != before)
            return true;
    }
    return false;
}

} // namespace

bool scrollIntoView(const ScreenArea& area)
{
    if (!area.widget || !area.widget->isVisible())
        return false;
    QMdiArea* client = clientAreaHolding(area.widget);
    if (!client)
        return false;
    bool scrolled = false;
    for (int click = 0; click < kMostClicks && stepTowards(*client, area); ++click)
        scrolled = true;
    return scrolled;
}

} // namespace platform::ui
