#include "platform/system/WinInetWaiting.h"

#include <atomic>
#include <cstdlib>

namespace platform::system {
namespace {

constexpr long StandardTimeoutMs = 30000;

WaitHook& hookSlot()
{
    static WaitHook hook;
    return hook;
}

std::atomic<uint64_t> g_cancelGeneration{0};

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
    ++g_cancelGeneration;
}

uint64_t cancelGeneration()
{
    return g_cancelGeneration.load();
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
