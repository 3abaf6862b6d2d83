#include "WindowManager.h"

#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace x11test {
namespace {

// A window manager of the freedesktop conventions names its check window on the root window.
bool managed(const std::string& display)
{
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    bool found = false;
    if (!xcb_connection_has_error(connection)) {
        const char* name = "_NET_SUPPORTING_WM_CHECK";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection,
            xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (atom && atom->atom != XCB_ATOM_NONE && screen) {
            xcb_get_property_reply_t* property = xcb_get_property_reply(
                connection,
                xcb_get_property(connection, 0, screen->root, atom->atom, XCB_ATOM_WINDOW, 0, 1),
                nullptr);
            found = property && xcb_get_property_value_length(property) > 0;
            std::free(property);
        }
        std::free(atom);
    }
    xcb_disconnect(connection);
    return found;
}

} // namespace

WindowManager::~WindowManager()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool WindowManager::start(const std::string& display)
{
    const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
    if (openbox.isEmpty()) {
        m_why = "openbox is not installed (scripts/setup installs it)";
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(openbox, {QStringLiteral("--sm-disable")});
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000 && m_process.state() != QProcess::NotRunning) {
        if (managed(display))
            return true;
        QThread::msleep(20);
    }
    m_process.waitForReadyRead(100);
    m_why = "openbox did not take the screen (" +
            (m_process.state() == QProcess::NotRunning
                 ? "it ended with " + std::to_string(m_process.exitCode())
                 : std::string("it runs")) +
            "): " + m_process.readAll().toStdString();
    return false;
}

} // namespace x11test
