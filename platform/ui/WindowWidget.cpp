#include "platform/ui/WindowWidget.h"

#include "platform/ui/Window.h"

#include <QCloseEvent>

namespace platform::ui {

WindowWidget::WindowWidget(Window& window, QWidget* parent) : QWidget(parent), m_window(window)
{
}

bool WindowWidget::eventFilter(QObject* watched, QEvent* event)
{
    return m_window.filterEvent(watched, event);
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    m_window.userClose();
}

void WindowWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_window.resized();
}

void WindowWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_window.activated();
}

FrameWidget::FrameWidget(Window& window) : m_window(window)
{
}

bool FrameWidget::eventFilter(QObject* watched, QEvent* event)
{
    return m_window.filterEvent(watched, event);
}

void FrameWidget::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    m_window.userClose();
}

void FrameWidget::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    m_window.resized();
}

} // namespace platform::ui
