#include "platform/ui/ScreenReach.h"

namespace platform::ui {

QRect rectIn(const QWidget* widget, const QWidget* ancestor)
{
    if (widget == ancestor)
        return widget->rect();
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

ScreenReach screenReach(const ScreenArea& area)
{
    ScreenReach reach;
    QWidget* widget = area.widget;
    if (!widget) {
        reach.fault = "has no place on the screen";
        return reach;
    }
    QWidget* top = widget->window();
    reach.topLevel = top;
    if (!widget->isVisible()) {
        reach.fault = "is not shown";
        return reach;
    }
    if (area.rect.width() <= 0 || area.rect.height() <= 0) {
        reach.fault = "has no area on the screen (" + std::to_string(area.rect.width()) + "x" +
                      std::to_string(area.rect.height()) + ")";
        return reach;
    }
    // What the holders leave of it: each parent clips its children.
    QRect visible(widget->mapTo(top, area.rect.topLeft()), area.rect.size());
    for (const QWidget* holder = widget->parentWidget(); holder; holder = holder->parentWidget()) {
        visible &= rectIn(holder, top);
        if (holder == top)
            break;
    }
    if (visible.isEmpty()) {
        reach.fault = "lies outside its window";
        return reach;
    }
    reach.visible = visible;
    reach.centre = visible.center();
    QWidget* hit = top->childAt(reach.centre);
    if (hit != widget && !(hit && widget->isAncestorOf(hit))) {
        reach.coveredBy = hit ? hit : top;
        reach.fault = "is covered";
    }
    return reach;
}

} // namespace platform::ui
