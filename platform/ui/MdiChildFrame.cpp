#include "platform/ui/MdiChildFrame.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace platform::ui {

QMargins mdiChildFrame(const QMdiArea& area)
{
    // A child takes its border only once it is shown in an area: one in an area of the same
    // font and style that never reaches the screen measures it.
    QMdiArea probe;
    probe.setAttribute(Qt::WA_DontShowOnScreen);
    probe.setFont(area.font());
    probe.setStyle(area.style());
    QMdiSubWindow* child = probe.addSubWindow(new QWidget);
    probe.show();
    child->show();
    return child->contentsMargins();
}

} // namespace platform::ui
