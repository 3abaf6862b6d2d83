#include "app/ipmprice/DownloadWait.h"

#include "platform/system/WinInetWaiting.h"
#include "platform/ui/Control.h"
#include "platform/ui/Window.h"

#include <QAbstractButton>
#include <QCoreApplication>

namespace app {

DownloadWait::DownloadWait(platform::ui::Window& window, int cancelButton)
    : m_window(window), m_cancelButton(cancelButton)
{
    m_window.enable(m_cancelButton);
    // The press itself: its accepted event would wait in the queue behind the download.
    if (platform::ui::Control* control = m_window.control(m_cancelButton))
        if (auto* button = qobject_cast<QAbstractButton*>(control->widget()))
            m_pressed = QObject::connect(button, &QAbstractButton::clicked, this,
                                         [] { platform::system::cancelWaitingCalls(); });
    platform::system::setWaitHook([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
}

DownloadWait::~DownloadWait()
{
    platform::system::setWaitHook({});
    QObject::disconnect(m_pressed);
    m_window.disable(m_cancelButton);
}

} // namespace app
