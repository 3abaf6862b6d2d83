#pragma once

#include "platform/ui/keyboard/LayoutSource.h"

#include <cstdint>
#include <memory>

class QSocketNotifier;
struct xcb_connection_t;

// The keyboard layout of an X11 session: the X keyboard extension's locked group. The source
// watches group changes on a connection of its own; a change that the program's focused
// control refuses is undone at once by locking the group it had before.
namespace platform::ui::keyboard {

class X11LayoutSource : public LayoutSource
{
public:
    // Null when no X server answers or it lacks the keyboard extension.
    static std::unique_ptr<X11LayoutSource> connect();
    ~X11LayoutSource() override;
    X11LayoutSource(const X11LayoutSource&) = delete;
    X11LayoutSource& operator=(const X11LayoutSource&) = delete;

    int group() const override { return m_group; }

private:
    X11LayoutSource(xcb_connection_t* connection, uint8_t firstEvent, int group);
    void readEvents();
    void groupChanged(int group);

    xcb_connection_t* m_connection;
    uint8_t m_firstEvent;
    int m_group;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace platform::ui::keyboard
