#include "XServer.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>


#include <csignal>
#include <filesystem>
#include <fstream>
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

bool XServer::makeKeyboardFolder(const std::vector<std::string>& layouts)
{
    namespace fs = std::filesystem;
    const fs::path system = "/usr/share/X11/xkb";
    m_keyboards = std::make_unique<QTemporaryDir>();
    std::error_code error;
    if (!m_keyboards->isValid() || !fs::is_directory(system / "symbols", error))
        return false;
    const fs::path folder = m_keyboards->path().toStdString();
    for (const fs::directory_entry& entry : fs::directory_iterator(system, error))
        if (entry.path().filename() != "symbols")
            fs::create_directory_symlink(entry.path(), folder / entry.path().filename(), error);
    fs::create_directory(folder / "symbols", error);
    for (const fs::directory_entry& entry : fs::directory_iterator(system / "symbols", error))
        if (entry.path().filename() != layouts.front())
            fs::create_symlink(entry.path(), folder / "symbols" / entry.path().filename(), error);
    fs::create_symlink(system / "symbols" / layouts.front(), folder / "symbols" / "first_layout",
                       error);
    std::ofstream first(folder / "symbols" / layouts.front());
    first << "default partial alphanumeric_keys modifier_keys\n"
          << "xkb_symbols \"basic\" {\n    include \"first_layout(basic)\"\n";
    for (std::size_t group = 1; group < layouts.size(); ++group)
        first << "    include \"" << layouts[group] << ":" << group + 1 << "\"\n";
    first << "};\n";
    return static_cast<bool>(first);
}

bool XServer::start(const std::vector<std::string>& layouts, const std::string& screen,
                    bool current)
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
    if (layouts.empty() || !makeKeyboardFolder(layouts)) {
        m_why = "no keyboard descriptions in /usr/share/X11/xkb";
        return false;
    }
    const std::string program = xvfb.toStdString();
    const std::string fd = std::to_string(pipeFds[1]);
    const std::string keyboards = m_keyboards->path().toStdString();
    const std::string depth = screen + "x24";
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(pipeFds[0]);
        // Xvfb writes the display it chose to the descriptor and then serves it. Without
        // -noreset it would start afresh whenever its last client leaves (setxkbmap, say), and a
        // client coming at that moment would be turned away.
        ::execl(program.c_str(), program.c_str(), "-displayfd", fd.c_str(), "-noreset", "-nolisten",
                "tcp", "-screen", "0", depth.c_str(), "-xkbdir", keyboards.c_str(),
                static_cast<char*>(nullptr));
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
    m_display = ":" + display;
    if (current)
        ::setenv("DISPLAY", m_display.c_str(), 1);
    std::string names;
    for (const std::string& layout : layouts)
        names += (names.empty() ? "" : ",") + layout;
    const int code =
        QProcess::execute(setxkbmap, {QStringLiteral("-display"), QString::fromStdString(m_display),
                                      QStringLiteral("-layout"), QString::fromStdString(names)});
    if (code != 0) {
        m_why = "setxkbmap failed";
        return false;
    }
    return true;
}

} // namespace x11test
