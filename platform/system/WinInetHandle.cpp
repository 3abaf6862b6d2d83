#include "platform/system/WinInetHandle.h"

#include "platform/system/WinInetTransfer.h"
#include "platform/system/WinInetWaiting.h"

#include <map>
#include <mutex>

namespace platform::system {
namespace {


struct Registry
{
    std::mutex mutex;
    std::map<const WinInetHandle*, std::unique_ptr<WinInetHandle>> handles;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

// Removes a handle and everything made from it; the caller holds the mutex.
void removeTree(Registry& r, const WinInetHandle* handle,
                std::vector<std::unique_ptr<WinInetHandle>>& removed)
{
    std::vector<const WinInetHandle*> children;
    for (const auto& [key, value] : r.handles)
        if (value->parent() == handle)
            children.push_back(key);
    for (const WinInetHandle* child : children)
        removeTree(r, child, removed);
    const auto found = r.handles.find(handle);
    if (found != r.handles.end()) {
        removed.push_back(std::move(found->second));
        r.handles.erase(found);
    }
}

template <typename T>
T inherited(const WinInetHandle* handle, std::optional<T> WinInetHandle::*member, T fallback)
{
    for (; handle; handle = handle->parent())
        if (handle->*member)
            return *(handle->*member);
    return fallback;
}

} // namespace

WinInetHandle::WinInetHandle(Kind kind, WinInetHandle* parent) : m_kind(kind), m_parent(parent)
{
}

WinInetHandle::~WinInetHandle() = default;

WinInetHandle* WinInetHandle::make(Kind kind, WinInetHandle* parent)
{
    auto handle = std::make_unique<WinInetHandle>(kind, parent);
    WinInetHandle* raw = handle.get();
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    r.handles.emplace(raw, std::move(handle));
    return raw;
}

WinInetHandle* WinInetHandle::find(HINTERNET handle)
{
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    const auto found = r.handles.find(handle);
    return found == r.handles.end() ? nullptr : found->second.get();
}

WinInetHandle* WinInetHandle::find(HINTERNET handle, Kind kind)
{
    WinInetHandle* found = find(handle);
    return found && found->kind() == kind ? found : nullptr;
}

bool WinInetHandle::close(HINTERNET handle)
{
    std::vector<std::unique_ptr<WinInetHandle>> removed;
    {
        Registry& r = registry();
        const std::lock_guard lock(r.mutex);
        if (!r.handles.count(handle))
            return false;
        removeTree(r, handle, removed);
    }
    return true; // the transfers end here, outside the lock
}

const WinInetHandle* WinInetHandle::session() const
{
    const WinInetHandle* h = this;
    while (h && h->m_kind != Kind::Session)
        h = h->m_parent;
    return h;
}

const WinInetHandle* WinInetHandle::connection() const
{
    const WinInetHandle* h = this;
    while (h && h->m_kind != Kind::Connection)
        h = h->m_parent;
    return h;
}

std::string WinInetHandle::proxyUserName() const
{
    return inherited<std::string>(this, &WinInetHandle::m_proxyUserName, {});
}

std::string WinInetHandle::proxyPassword() const
{
    return inherited<std::string>(this, &WinInetHandle::m_proxyPassword, {});
}

long WinInetHandle::connectTimeoutMs() const
{
    return inherited<long>(this, &WinInetHandle::m_connectTimeoutMs, defaultTimeoutMs());
}

long WinInetHandle::receiveTimeoutMs() const
{
    return inherited<long>(this, &WinInetHandle::m_receiveTimeoutMs, defaultTimeoutMs());
}

} // namespace platform::system
