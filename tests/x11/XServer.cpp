#include "XServer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace x11test {

XServer::~XServer()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
}

bool XServer::start(const std::string& layouts)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString setxkbmap = QStandardPaths::findExecutable(QStringLiteral("setxkbmap"));
    if (xvfb.isEmpty() || setxkbmap.isEmpty()) {
        m_why = "Xvfb or setxkbmap is not installed";
        return false;
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        m_why = "no pipe";
        return false;
    }
    const std::string program = xvfb.toStdString();
    const std::string fd = std::to_string(pipeFds[1]);
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(pipeFds[0]);
        // Xvfb writes the display it chose to the descriptor and then serves it.
        ::execl(program.c_str(), program.c_str(), "-displayfd", fd.c_str(), "-nolisten", "tcp",
                "-screen", "0", "1024x768x24", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    if (m_pid < 0) {
        ::close(pipeFds[0]);
        m_why = "fork failed";
        return false;
    }
    std::string display;
    pollfd waiting{pipeFds[0], POLLIN, 0};
    char c = 0;
    while (::poll(&waiting, 1, 10000) > 0 && ::read(pipeFds[0], &c, 1) == 1 && c != '\n')
        display += c;
    ::close(pipeFds[0]);
    if (display.empty()) {
        m_why = "Xvfb did not start";
        return false;
    }
    ::setenv("DISPLAY", (":" + display).c_str(), 1);
    const int code = QProcess::execute(
        setxkbmap, {QStringLiteral("-layout"), QString::fromStdString(layouts)});
    if (code != 0) {
        m_why = "setxkbmap failed";
        return false;
    }
    return true;
}

} // namespace x11test
