#include "platform/ui/FrameCloseFilter.h"

#include "platform/ui/ProgramEnd.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace platform::ui {
namespace {

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

class FrameCloseFilter : public QAbstractNativeEventFilter
{
public:
    explicit FrameCloseFilter(xcb_connection_t* connection)
        : m_protocols(internAtom(connection, "WM_PROTOCOLS")),
          m_deleteWindow(internAtom(connection, "WM_DELETE_WINDOW"))
    {
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->format != 32 || client->type != m_protocols ||
            client->data.data32[0] != m_deleteWindow)
            return false;
        if (!QApplication::activeModalWidget())
            return false;
        Window* frame = ThreadRegistry::frame();
        if (!frame || !frame->topWidget() || client->window != frame->topWidget()->internalWinId())
            return false;
        closeProgram();
        return true;
    }

private:
    xcb_atom_t m_protocols;
    xcb_atom_t m_deleteWindow;
};

FrameCloseFilter*& installed()
{
    static FrameCloseFilter* filter = nullptr;
    return filter;
}

} // namespace

void watchFrameCloseRequests()
{
    if (installed() || !qGuiApp)
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    installed() = new FrameCloseFilter(x11->connection());
    qGuiApp->installNativeEventFilter(installed());
}

void stopWatchingFrameCloseRequests()
{
    if (!installed())
        return;
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(installed());
    delete installed();
    installed() = nullptr;
}

} // namespace platform::ui
