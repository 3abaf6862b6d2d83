#pragma once

#include <QMetaObject>
#include <QObject>

namespace platform::ui {
class Window;
}

// While the price list downloads: the window repaints and its timer runs, the cancel button
// stays enabled and a press on it, or closing the window, ends the download at once. The
// window's own events wait in its queue until the download is over.
namespace app {

class DownloadWait : public QObject
{
public:
    DownloadWait(platform::ui::Window& window, int cancelButton);
    ~DownloadWait() override;
    DownloadWait(const DownloadWait&) = delete;
    DownloadWait& operator=(const DownloadWait&) = delete;

    bool cancelled() const { return m_cancelled; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cancel();

    platform::ui::Window& m_window;
    int m_cancelButton;
    QObject* m_topWidget = nullptr;
    QMetaObject::Connection m_pressed;
    bool m_cancelled = false;
};

} // namespace app
