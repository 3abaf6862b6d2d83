#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace platform::ui {

// Mouse clicks and keys as the window system delivers them: to the window under the pointer
// and the widget the point hits, keys to the window's focused widget. Nothing is sent straight
// to a widget, so what covers a control takes the click, as it would a person's.
class UserInput
{
public:
    // A left click (press and release) at a point of a top-level window.
    static void click(QWidget* topLevel, QPoint at);
    // A left-button drag: a press, the pointer moved in steps with the button held, a release.
    static void drag(QWidget* topLevel, QPoint from, QPoint to);
    // A key press and release; text is what the key types ("" for keys that type nothing).
    static void key(QWidget* topLevel, int qtKey, Qt::KeyboardModifiers modifiers,
                    const QString& text);
    // Each character as a key that types it.
    static void typeText(QWidget* topLevel, const QString& text);
};

} // namespace platform::ui
