#include "tests/support/LoopbackProxyProgram.h"

#include "tests/support/TempWorkFolder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testsupport {
namespace {

constexpr const char* Program = "tinyproxy";

std::string programPath()
{
    for (const char* folder : {"/usr/bin", "/usr/sbin", "/usr/local/bin", "/usr/local/sbin"}) {
        const std::string path = std::string(folder) + "/" + Program;
        if (::access(path.c_str(), X_OK) == 0)
            return path;
    }
    return {};
}

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port nobody listens on at this moment.
int freePort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

bool accepts(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    const bool connected =
        ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return connected;
}

} // namespace

LoopbackProxyProgram::LoopbackProxyProgram()
{
    const std::string path = programPath();
    if (path.empty()) {
        m_why = std::string(Program) + " is not installed (scripts/setup installs it)";
        return;
    }
    char pattern[] = "/tmp/quelb-proxy-XXXXXX";
    if (!::mkdtemp(pattern)) {
        m_why = "no folder for the proxy's configuration";
        return;
    }
    m_folder = pattern;
    m_port = freePort();
    const std::string config = m_folder + "/proxy.conf";
    writeFileBytes(config, "Port " + std::to_string(m_port) +
                               "\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\n"
                               "Allow 127.0.0.1\nLogLevel Info\nLogFile \"" +
                               m_folder + "/proxy.log\"\nPidFile \"" + m_folder + "/proxy.pid\"\n");
    // In the foreground, so that the process started is the proxy itself.
    std::vector<std::string> words{path, "-d", "-c", config};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        m_why = "cannot start " + path;
        return;
    }
    m_pid = pid;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!accepts(m_port)) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_why = path + " ended at its start: " + log();
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            stop();
            m_why = path + " did not listen on port " + std::to_string(m_port);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

LoopbackProxyProgram::~LoopbackProxyProgram()
{
    stop();
    if (!m_folder.empty()) {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
}

void LoopbackProxyProgram::stop()
{
    if (m_pid <= 0)
        return;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
}

std::string LoopbackProxyProgram::log() const
{
    return m_folder.empty() ? std::string() : readFileBytes(m_folder + "/proxy.log");
}

} // namespace testsupport
