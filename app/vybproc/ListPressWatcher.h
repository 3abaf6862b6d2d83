#pragma once

#include <QObject>

#include <functional>

namespace platform::ui {
class ListControl;
}

// Turns a left press on a list row into one new-selection event that carries the mouse key, so
// the window can tell a click on a row's check-box icon from a keyboard move. While the press
// is being handled, the highlight move it causes is reported as part of it (pressing() is true)
// and the single event follows once the list knows where the press landed.
namespace app {

class ListPressWatcher : public QObject
{
public:
    explicit ListPressWatcher(platform::ui::ListControl& control);
    ~ListPressWatcher() override;

    bool pressing() const { return m_pressing; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    platform::ui::ListControl& m_control;
    std::function<void(int, int, int)> m_listPress;
    bool m_pressing = false;
};

} // namespace app
