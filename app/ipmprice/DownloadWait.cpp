#include "app/ipmprice/DownloadWait.h"

#include "platform/system/WinInetWaiting.h"
#include "platform/ui/Control.h"
#include "platform/ui/Window.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace app {

DownloadWait::DownloadWait(platform::ui::Window& window, int cancelButton)
    : m_window(window), m_cancelButton(cancelButton)
{
    m_window.enable(m_cancelButton);
    if (platform::ui::Control* control = m_window.control(m_cancelButton))
        if (auto* button = qobject_cast<QAbstractButton*>(control->widget()))
            m_pressed = QObject::connect(button, &QAbstractButton::clicked, this, [this] { cancel(); });
    m_topWidget = m_window.topWidget();
    if (m_topWidget)
        m_topWidget->installEventFilter(this);
    platform::system::setWaitHook([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
}

DownloadWait::~DownloadWait()
{
    platform::system::setWaitHook({});
    if (m_topWidget)
        m_topWidget->removeEventFilter(this);
    QObject::disconnect(m_pressed);
    m_window.disable(m_cancelButton);
}

bool DownloadWait::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_topWidget && event->type() == QEvent::Close)
        cancel();
    return false;
}

void DownloadWait::cancel()
{
    m_cancelled = true;
    platform::system::cancelWaitingCalls();
}

} // namespace app
