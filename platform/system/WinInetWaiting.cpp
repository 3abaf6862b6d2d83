#include "platform/system/WinInetWaiting.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <mutex>

namespace platform::system {
namespace {

constexpr long StandardTimeoutMs = 30000;

WaitHook& hookSlot()
{
    static WaitHook hook;
    return hook;
}

// The transfers that live, by number, with the flag that ends each.
struct Transfers
{
    std::mutex mutex;
    uint64_t begun = 0;
    std::map<uint64_t, std::atomic<bool>*> live;
};

Transfers& transfers()
{
    static Transfers registry;
    return registry;
}

long timeoutFromEnvironment()
{
    if (const char* text = std::getenv("QUELB_NET_TIMEOUT_MS")) {
        char* end = nullptr;
        const long value = std::strtol(text, &end, 10);
        if (end != text && value > 0)
            return value;
    }
    return StandardTimeoutMs;
}

std::atomic<long>& timeoutSlot()
{
    static std::atomic<long> timeout{timeoutFromEnvironment()};
    return timeout;
}

} // namespace

WaitHook setWaitHook(WaitHook hook)
{
    WaitHook previous = std::move(hookSlot());
    hookSlot() = std::move(hook);
    return previous;
}

const WaitHook& waitHook()
{
    return hookSlot();
}

void cancelWaitingCalls()
{
    cancelTransfersSince(0);
}

uint64_t transferMark()
{
    Transfers& registry = transfers();
    const std::lock_guard lock(registry.mutex);
    return registry.begun;
}

void cancelTransfersSince(uint64_t mark)
{
    Transfers& registry = transfers();
    const std::lock_guard lock(registry.mutex);
    for (auto it = registry.live.upper_bound(mark); it != registry.live.end(); ++it)
        *it->second = true;
}

bool transfersUnderWay()
{
    Transfers& registry = transfers();
    const std::lock_guard lock(registry.mutex);
    return !registry.live.empty();
}

TransferRegistration::TransferRegistration(std::atomic<bool>& cancelled)
{
    Transfers& registry = transfers();
    const std::lock_guard lock(registry.mutex);
    m_number = ++registry.begun;
    registry.live.emplace(m_number, &cancelled);
}

TransferRegistration::~TransferRegistration()
{
    Transfers& registry = transfers();
    const std::lock_guard lock(registry.mutex);
    registry.live.erase(m_number);
}

void setDefaultTimeoutMs(long milliseconds)
{
    timeoutSlot() = milliseconds > 0 ? milliseconds : StandardTimeoutMs;
}

long defaultTimeoutMs()
{
    return timeoutSlot().load();
}

} // namespace platform::system
