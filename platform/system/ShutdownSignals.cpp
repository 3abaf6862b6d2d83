#include "platform/system/ShutdownSignals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <utility>

namespace platform::system {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP};

// Written by the handler, so it is a plain int and the handler calls nothing but write().
volatile sig_atomic_t g_writeEnd = -1;

void onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    if (g_writeEnd >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    }
    errno = savedErrno;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

ShutdownSignals::ShutdownSignals(std::function<void()> request) : m_request(std::move(request))
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readEnd = ends[0];
    g_writeEnd = ends[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
        char bytes[16];
        while (::read(m_readEnd, bytes, sizeof bytes) > 0) {
        }
        if (m_request)
            m_request();
    });
    setHandler(&onSignal);
}

ShutdownSignals::~ShutdownSignals()
{
    if (m_readEnd < 0)
        return;
    setHandler(SIG_DFL);
    m_notifier.reset();
    const int writeEnd = g_writeEnd;
    g_writeEnd = -1;
    ::close(writeEnd);
    ::close(m_readEnd);
}

} // namespace platform::system
