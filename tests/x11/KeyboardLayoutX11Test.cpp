// The keyboard-layout guard on X11: a group change made by another client (as a desktop does
// when the focus comes to a window) while the program's entry has the focus is set back at
// once, and one made after a key press in the entry stays.
#include "X11Session.h"

#include "app/startup/KeyboardGuard.h"
#include "platform/automation/OleControl.h"
#include "platform/ui/Control.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/Window.h"
#include "platform/ui/keyboard/LayoutSource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <xcb/xcb.h>
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

using namespace app;
using namespace platform::ui;

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Another client of the same X server, standing in for the desktop.
class OtherClient
{
public:
    OtherClient() : m_connection(xcb_connect(nullptr, nullptr))
    {
        xcb_xkb_use_extension_reply_t* reply = xcb_xkb_use_extension_reply(
            m_connection, xcb_xkb_use_extension(m_connection, 1, 0), nullptr);
        std::free(reply);
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    void lockGroup(int group)
    {
        xcb_xkb_latch_lock_state(m_connection, XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1,
                                 static_cast<uint8_t>(group), 0, 0, 0);
        xcb_flush(m_connection);
    }
    // How many layouts the keyboard has.
    int groups()
    {
        xcb_xkb_get_controls_reply_t* reply = xcb_xkb_get_controls_reply(
            m_connection, xcb_xkb_get_controls(m_connection, XCB_XKB_ID_USE_CORE_KBD), nullptr);
        const int groups = reply ? reply->numGroups : 0;
        std::free(reply);
        return groups;
    }
    int group()
    {
        xcb_xkb_get_state_reply_t* reply = xcb_xkb_get_state_reply(
            m_connection, xcb_xkb_get_state(m_connection, XCB_XKB_ID_USE_CORE_KBD), nullptr);
        const int group = reply ? reply->lockedGroup : -1;
        std::free(reply);
        return group;
    }

private:
    xcb_connection_t* m_connection;
};

TEST(KeyboardLayoutX11, AChangeFromOutsideIsSetBackUntilAKeyIsPressed)
{
    if (!x11test::serverRunning())
        GTEST_SKIP() << "no X server for the test: " << x11test::skipReason();
    platform::automation::OleControl::registerKind();
    RemoveKeyboardGuard();
    InstallKeyboardGuard();
    ASSERT_TRUE(KeyboardGuardInstalled()) << "the X keyboard extension did not answer";

    OtherClient desktop;
    if (desktop.groups() < 2)
        GTEST_SKIP() << "the X server did not take a second keyboard layout";
    desktop.lockGroup(0);
    ASSERT_TRUE(waitFor([&] { return keyboard::layoutSource()->group() == 0; }));

    Window window(loadWindowDefinition("quelbarto$quelb014", "P1$WINDOW"));
    window.open();
    window.topWidget()->activateWindow();
    const int entry = window.number("?KOMMENT");
    window.select(entry);
    QWidget* entryWidget = window.control(entry)->widget();
    ASSERT_TRUE(waitFor([&] {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == entryWidget || entryWidget->isAncestorOf(focus));
    })) << "the entry did not get the keyboard focus";

    // No key since the focus came: the change is undone.
    desktop.lockGroup(1);
    ASSERT_EQ(desktop.group(), 1);
    EXPECT_TRUE(waitFor([&] { return desktop.group() == 0; })) << "the group was not set back";
    EXPECT_EQ(keyboard::layoutSource()->group(), 0);

    // After a key press in the entry the next change stays.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(entryWidget, &press);
    desktop.lockGroup(1);
    EXPECT_TRUE(waitFor([&] { return keyboard::layoutSource()->group() == 1; }));
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(desktop.group(), 1);

    window.finish();
    RemoveKeyboardGuard();
}

} // namespace
