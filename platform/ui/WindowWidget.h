#pragma once

#include <QMainWindow>
#include <QWidget>

namespace platform::ui {

class Window;

// The Qt side of a window: it hands close requests, resizes, activation and the key and
// focus events of its controls to the runtime's Window.
class WindowWidget : public QWidget
{
public:
    WindowWidget(Window& window, QWidget* parent = nullptr);

    // The runtime's own close goes through; a user's close becomes a close request.
    void allowClose() { m_closing = true; }
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Window& m_window;
    bool m_closing = false;
};

// The frame: a main window with the MDI area, the menu bar and the toolbar.
class FrameWidget : public QMainWindow
{
public:
    explicit FrameWidget(Window& window);

    void allowClose() { m_closing = true; }
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Window& m_window;
    bool m_closing = false;
};

} // namespace platform::ui
