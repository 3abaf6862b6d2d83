#include "app/vybproc/ListPressWatcher.h"

#include "platform/ui/Event.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListView.h"

#include <QMouseEvent>

namespace app {

using namespace platform::ui;

ListPressWatcher::ListPressWatcher(ListControl& control) : m_control(control)
{
    ListView* view = m_control.view();
    if (!view)
        return;
    m_listPress = view->onPress;
    view->onPress = [this](int row, int column, int zone) {
        if (m_listPress)
            m_listPress(row, column, zone);
        if (!m_pressing)
            return;
        m_pressing = false;
        if (row >= 0)
            m_control.window().raise(Event::NewSelection, m_control.number(), Key::MouseLeft);
    };
    view->viewport()->installEventFilter(this);
}

ListPressWatcher::~ListPressWatcher()
{
    if (ListView* view = m_control.view()) {
        view->viewport()->removeEventFilter(this);
        view->onPress = m_listPress;
    }
}

bool ListPressWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        m_pressing = true;
    return QObject::eventFilter(watched, event);
}

} // namespace app
