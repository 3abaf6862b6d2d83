#include "platform/system/LastError.h"

#include "platform/storage/LogicalThread.h"

#include <mutex>
#include <unordered_map>

namespace platform::system {
namespace {

struct LastErrors
{
    std::mutex mutex;
    std::unordered_map<int, std::uint32_t> byThread;
};

LastErrors& lastErrors()
{
    static LastErrors errors;
    return errors;
}

} // namespace

std::uint32_t GetLastError()
{
    const int thread = storage::currentThread();
    LastErrors& errors = lastErrors();
    const std::lock_guard lock(errors.mutex);
    const auto found = errors.byThread.find(thread);
    return found == errors.byThread.end() ? 0 : found->second;
}

void SetLastError(std::uint32_t code)
{
    const int thread = storage::currentThread();
    // An ended thread's value goes with it (its number may be given to a new thread).
    static const int listener = storage::addThreadEndListener([](int ended) {
        LastErrors& errors = lastErrors();
        const std::lock_guard lock(errors.mutex);
        errors.byThread.erase(ended);
    });
    (void)listener;
    LastErrors& errors = lastErrors();
    const std::lock_guard lock(errors.mutex);
    if (code == 0)
        errors.byThread.erase(thread); // no entry reads as 0
    else
        errors.byThread[thread] = code;
}

} // namespace platform::system
