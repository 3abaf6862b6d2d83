#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

// A shutdown or a logout (SIGTERM, SIGHUP) asks the program to close, rather than killing it
// with its windows' work unsaved. The signal handler only writes a byte to a pipe; the request
// is carried out on the event loop, where the program may close as it always does.
namespace platform::system {

class ShutdownSignals
{
public:
    // Catches the signals until destroyed; each one calls `request` from the event loop.
    explicit ShutdownSignals(std::function<void()> request);
    ~ShutdownSignals();

    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

private:
    std::function<void()> m_request;
    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_readEnd = -1;
};

} // namespace platform::system
