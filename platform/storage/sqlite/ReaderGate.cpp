#include "platform/storage/sqlite/ReaderGate.h"

#include <sqlite3.h>

#include <algorithm>

namespace platform::storage::sqlite {

uint64_t ReaderGate::writesBegun()
{
    return m_writesBegun.load(std::memory_order_acquire);
}

bool ReaderGate::enter(sqlite3* connection, uint64_t writesBegunWhenMade)
{
    const std::lock_guard lock(m_mutex);
    if (m_writing > 0 || m_writesBegun.load(std::memory_order_relaxed) != writesBegunWhenMade)
        return false;
    m_inside.push_back(connection);
    return true;
}

void ReaderGate::leave(sqlite3* connection)
{
    {
        const std::lock_guard lock(m_mutex);
        m_inside.erase(std::remove(m_inside.begin(), m_inside.end(), connection), m_inside.end());
    }
    m_left.notify_all();
}

void ReaderGate::beginWrites()
{
    std::unique_lock lock(m_mutex);
    ++m_writing;
    m_writesBegun.fetch_add(1, std::memory_order_release);
    // A reader leaves the connection open until it has left, so it can be interrupted here.
    for (sqlite3* connection : m_inside)
        sqlite3_interrupt(connection);
    m_left.wait(lock, [this] { return m_inside.empty(); });
}

void ReaderGate::endWrites()
{
    const std::lock_guard lock(m_mutex);
    if (m_writing > 0)
        --m_writing;
}

} // namespace platform::storage::sqlite
