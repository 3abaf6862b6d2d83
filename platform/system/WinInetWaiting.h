#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

// What this layer adds to WinInet's synchronous calls so that a window can wait for them: the
// transfers run on threads of their own, and a call that waits for the network runs the wait
// hook on the caller's thread every few hundredths of a second (the window services repaint
// and take input there). From the hook, cancelWaitingCalls() ends the waiting calls.
namespace platform::system {

using WaitHook = std::function<void()>;

// Installs the hook (none: the caller just waits); returns the previous one.
WaitHook setWaitHook(WaitHook hook);
const WaitHook& waitHook();

// Every transfer begun so far ends within a moment; the call waiting on it fails with 12017
// (ERROR_INTERNET_OPERATION_CANCELLED) and so do its later reads.
void cancelWaitingCalls();
// Transfers are numbered as they begin. A mark taken before some work lets whoever ends that
// work end the transfers it began, and only those: they end as cancelWaitingCalls() ends them.
uint64_t transferMark();
void cancelTransfersSince(uint64_t mark);

// Whether a transfer lives: a request was sent and its handle is not closed yet.
bool transfersUnderWay();

// For the transfers themselves: each registers the flag that ends it while it lives.
class TransferRegistration
{
public:
    explicit TransferRegistration(std::atomic<bool>& cancelled);
    ~TransferRegistration();
    TransferRegistration(const TransferRegistration&) = delete;
    TransferRegistration& operator=(const TransferRegistration&) = delete;

private:
    uint64_t m_number;
};

// The connect and receive timeouts of handles that set none: 30 seconds each, or the
// milliseconds of the environment variable QUELB_NET_TIMEOUT_MS. The receive timeout is the
// longest time without progress.
void setDefaultTimeoutMs(long milliseconds);
long defaultTimeoutMs();

} // namespace platform::system
