#include "platform/ui/ScreenFit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <functional>

namespace platform::ui {
namespace {

// A window manager answers in its own time; one that does not answer is not waited for long.
constexpr int kWaitMs = 1500;

// Lets the window system's events in until the condition holds, the window is gone or the
// time is up. Input and timers are held back: nobody acts in a window still being placed.
void waitFor(const QWidget& window, const std::function<bool()>& done)
{
    const QPointer<const QWidget> placed = &window;
    QElapsedTimer waited;
    waited.start();
    while (placed && placed->isVisible() && !done() && waited.elapsed() < kWaitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::X11ExcludeTimers);
        if (!done())
            QThread::msleep(5);
    }
}

QRect availableArea(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The border the window system draws around the window's client area.
QMargins borderOf(const QWidget& window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// Shrinks the window so that it and its border fit the area, then moves it wholly onto it.
void fitInto(QWidget& window, const QRect& area)
{
    const QMargins border = borderOf(window);
    const QSize room = area.size().shrunkBy(border);
    const QSize size = window.size().boundedTo(room).expandedTo(window.minimumSize());
    const QSize outer = size.grownBy(border);
    const QPoint frameAt = window.frameGeometry().topLeft();
    const QPoint at(std::clamp(frameAt.x(), area.left(),
                               std::max(area.left(), area.right() + 1 - outer.width())),
                    std::clamp(frameAt.y(), area.top(),
                               std::max(area.top(), area.bottom() + 1 - outer.height())));
    if (size != window.size())
        window.resize(size);
    // A top-level window's position is that of its border.
    if (at != frameAt)
        window.move(at);
    waitFor(window,
            [&] { return window.size() == size && window.frameGeometry().topLeft() == at; });
}

// Waits until the window system shows the window.
void waitExposed(const QWidget& window)
{
    waitFor(window, [&] { return window.windowHandle() && window.windowHandle()->isExposed(); });
}

} // namespace

void showOnScreen(QWidget& window)
{
    const QRect area = availableArea(window);
    if (area.isEmpty()) {
        window.show();
        return;
    }
    // Before the window system has the window its border is unknown: the client area alone
    // is kept within the screen, which is all there is without a window manager.
    const QSize within = window.size().boundedTo(area.size());
    if (within != window.size())
        window.resize(within);
    window.show();
    waitExposed(window);
    fitInto(window, area);
}

void showFrameOnScreen(QWidget& frame, const QWidget& client, QSize clientRoom,
                       const std::optional<ScreenPlacement>& left)
{
    if (left && !left->normal.isEmpty())
        frame.setGeometry(left->normal);
    if (!left || left->maximized) {
        frame.setWindowState(frame.windowState() | Qt::WindowMaximized);
        frame.show();
        waitExposed(frame);
        // A window manager maximises the frame before it shows it; without one the frame
        // takes the area itself.
        const QRect area = availableArea(frame);
        if (!area.isEmpty() && frame.frameGeometry().size() != area.size()) {
            frame.resize(area.size().shrunkBy(borderOf(frame)));
            fitInto(frame, area);
        }
        return;
    }
    showOnScreen(frame);
    const QSize missing = (clientRoom - client.size()).expandedTo(QSize(0, 0));
    if (missing.width() > 0 || missing.height() > 0) {
        frame.resize(frame.size() + missing);
        fitInto(frame, availableArea(frame));
    }
}

} // namespace platform::ui
