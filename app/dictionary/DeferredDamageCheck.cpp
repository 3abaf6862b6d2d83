#include "app/dictionary/DeferredDamageCheck.h"

#include "platform/storage/LogicalThread.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace app {

namespace {

// How often a waiting check looks again whether the modal windows have closed.
constexpr int RetryMilliseconds = 10;

} // namespace

DeferredDamageCheck::DeferredDamageCheck(std::function<void()> check) : m_check(std::move(check))
{
}

DeferredDamageCheck::~DeferredDamageCheck()
{
    *m_alive = false;
}

void DeferredDamageCheck::request(platform::ui::Window& window)
{
    if (!QApplication::activeModalWidget()) {
        m_check();
        return;
    }
    QWidget* content = window.content();
    if (m_waiting || !content)
        return;
    m_waiting = true;
    const std::shared_ptr<bool> alive = m_alive;
    QTimer::singleShot(RetryMilliseconds, content, [this, alive, &window] {
        if (!*alive)
            return;
        m_waiting = false;
        const platform::storage::ThreadScope scope(window.thread());
        request(window);
    });
}

} // namespace app
