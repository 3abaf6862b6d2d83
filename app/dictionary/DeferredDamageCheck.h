#pragma once

#include <functional>
#include <memory>

namespace platform::ui {
class Window;
}

// A window's check for its damaged files, run when no modal window is open: the box that says
// the damage (shown by a list while it reads, its nested loop delivering the window's events)
// is answered first, and the way out follows it rather than opening on top of it.
namespace app {

class DeferredDamageCheck
{
public:
    explicit DeferredDamageCheck(std::function<void()> check);
    ~DeferredDamageCheck();
    DeferredDamageCheck(const DeferredDamageCheck&) = delete;
    DeferredDamageCheck& operator=(const DeferredDamageCheck&) = delete;

    // Runs the check at once when no modal window is open, otherwise in the window's logical
    // thread as soon as the last one has closed (while the window lasts).
    void request(platform::ui::Window& window);

private:
    std::function<void()> m_check;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_waiting = false;
};

} // namespace app
