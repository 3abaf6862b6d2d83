#include "platform/ui/ProgramCursor.h"

#include <QApplication>
#include <QCursor>

namespace platform::ui {

void setProgramCursor(std::string_view cursor)
{
    // One override at a time, so "normal" always restores the arrow however often "wait" was set.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    if (cursor == "wait")
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (cursor == "hand")
        QApplication::setOverrideCursor(Qt::PointingHandCursor);
}

bool programCursorIsWait()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::WaitCursor;
}

} // namespace platform::ui
