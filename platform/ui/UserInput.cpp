#include "platform/ui/UserInput.h"

#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace platform::ui {
namespace {

// Far enough apart that two clicks never make a double click.
int nextTimestamp()
{
    static int timestamp = 0;
    timestamp += 1000;
    return timestamp;
}

QWindow* handleOf(QWidget* topLevel)
{
    return topLevel ? topLevel->windowHandle() : nullptr;
}

} // namespace

void UserInput::click(QWidget* topLevel, QPoint at)
{
    QPointer<QWindow> window = handleOf(topLevel);
    if (!window)
        return;
    const QPointF local(at);
    const QPointF global = window->mapToGlobal(at);
    qt_handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton,
                        QEvent::MouseButtonPress, Qt::NoModifier, nextTimestamp());
    if (!window)
        return;
    qt_handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton,
                        QEvent::MouseButtonRelease, Qt::NoModifier, nextTimestamp());
}

void UserInput::drag(QWidget* topLevel, QPoint from, QPoint to)
{
    QPointer<QWindow> window = handleOf(topLevel);
    if (!window)
        return;
    const auto send = [&](QPoint at, Qt::MouseButtons held, Qt::MouseButton button,
                          QEvent::Type type) {
        if (window)
            qt_handleMouseEvent(window, QPointF(at), window->mapToGlobal(QPointF(at)), held, button,
                                type, Qt::NoModifier, nextTimestamp());
    };
    send(from, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress);
    // A hand moves through the points between; widgets follow each move.
    constexpr int Steps = 8;
    for (int step = 1; step <= Steps; ++step)
        send(from + (to - from) * step / Steps, Qt::LeftButton, Qt::NoButton, QEvent::MouseMove);
    send(to, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease);
}

void UserInput::key(QWidget* topLevel, int qtKey, Qt::KeyboardModifiers modifiers,
                    const QString& text)
{
    QPointer<QWindow> window = handleOf(topLevel);
    if (!window)
        return;
    qt_handleKeyEvent(window, QEvent::KeyPress, qtKey, modifiers, text);
    if (window)
        qt_handleKeyEvent(window, QEvent::KeyRelease, qtKey, modifiers, text);
}

void UserInput::typeText(QWidget* topLevel, const QString& text)
{
    QPointer<QWidget> top = topLevel;
    for (const QChar c : text) {
        if (!top)
            return;
        key(top, 0, Qt::NoModifier, QString(c));
    }
}

} // namespace platform::ui
