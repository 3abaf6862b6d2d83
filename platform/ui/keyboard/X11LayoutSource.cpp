#include "platform/ui/keyboard/X11LayoutSource.h"

#include "platform/ui/keyboard/LayoutRequest.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
// The C header names a member "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>

namespace platform::ui::keyboard {
namespace {

constexpr uint16_t kGroupParts = XCB_XKB_STATE_PART_GROUP_STATE | XCB_XKB_STATE_PART_GROUP_BASE
                                 | XCB_XKB_STATE_PART_GROUP_LATCH | XCB_XKB_STATE_PART_GROUP_LOCK;

bool useExtension(xcb_connection_t* connection)
{
    xcb_xkb_use_extension_reply_t* reply = xcb_xkb_use_extension_reply(
        connection, xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION),
        nullptr);
    const bool supported = reply && reply->supported;
    std::free(reply);
    return supported;
}

int lockedGroup(xcb_connection_t* connection)
{
    xcb_xkb_get_state_reply_t* reply = xcb_xkb_get_state_reply(
        connection, xcb_xkb_get_state(connection, XCB_XKB_ID_USE_CORE_KBD), nullptr);
    const int group = reply ? reply->lockedGroup : 0;
    std::free(reply);
    return group;
}

} // namespace

std::unique_ptr<X11LayoutSource> X11LayoutSource::connect()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection)
            xcb_disconnect(connection);
        return nullptr;
    }
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (!extension || !extension->present || !useExtension(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    xcb_xkb_select_events_details_t details{};
    details.affectState = kGroupParts;
    details.stateDetails = kGroupParts;
    xcb_xkb_select_events_aux(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_EVENT_TYPE_STATE_NOTIFY, 0,
                              0, 0, 0, &details);
    const int group = lockedGroup(connection);
    return std::unique_ptr<X11LayoutSource>(
        new X11LayoutSource(connection, extension->first_event, group));
}

X11LayoutSource::X11LayoutSource(xcb_connection_t* connection, uint8_t firstEvent, int group)
    : m_connection(connection), m_firstEvent(firstEvent), m_group(group),
      m_notifier(std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection),
                                                   QSocketNotifier::Read))
{
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readEvents(); });
    readEvents();
}

X11LayoutSource::~X11LayoutSource()
{
    m_notifier.reset();
    xcb_disconnect(m_connection);
}

void X11LayoutSource::readEvents()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        const auto* notify = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event);
        if ((event->response_type & 0x7F) == m_firstEvent && notify->xkbType == XCB_XKB_STATE_NOTIFY)
            groupChanged(notify->lockedGroup);
        std::free(event);
    }
}

void X11LayoutSource::groupChanged(int group)
{
    // The group set back by the source itself comes back as a change to the group it had.
    if (group == m_group)
        return;
    if (offerLayoutChange()) {
        m_group = group;
        return;
    }
    xcb_xkb_latch_lock_state(m_connection, XCB_XKB_ID_USE_CORE_KBD, 0, 0, 1,
                             static_cast<uint8_t>(m_group), 0, 0, 0);
    xcb_flush(m_connection);
}

} // namespace platform::ui::keyboard
