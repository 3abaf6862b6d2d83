#pragma once

#include <QMetaObject>
#include <QObject>

namespace platform::ui {
class Window;
}

// While the price list downloads: the window repaints and its timer runs, the cancel button
// stays enabled and a press on it ends the download at once (as closing the window does, by
// the runtime). The window's own events wait in its queue until the download is over.
namespace app {

class DownloadWait : public QObject
{
public:
    DownloadWait(platform::ui::Window& window, int cancelButton);
    ~DownloadWait() override;
    DownloadWait(const DownloadWait&) = delete;
    DownloadWait& operator=(const DownloadWait&) = delete;

private:
    platform::ui::Window& m_window;
    int m_cancelButton;
    QMetaObject::Connection m_pressed;
};

} // namespace app
