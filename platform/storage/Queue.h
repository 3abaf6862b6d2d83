#pragma once

#include "platform/storage/ErrorState.h"
#include "platform/text/FixedString.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>
#include <vector>

// An in-memory list of fixed entries with an entry buffer, used like a record file: the buffer
// is filled and appended, or filled by a get. Positions count from 1. Operations that can fail
// leave their code in the thread's error state (30 when no entry is found).
namespace platform::storage {

namespace queuekey {

// Key comparison of a member: numbers by value, fixed strings byte by byte with trailing blanks
// ignored.
template <typename T>
int compare(const T& a, const T& b)
{
    if constexpr (std::is_arithmetic_v<T>) {
        return a < b ? -1 : (b < a ? 1 : 0);
    } else {
        const std::string_view x = a.clipped();
        const std::string_view y = b.clipped();
        const int c = x.compare(y);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
}

} // namespace queuekey

template <typename Entry>
class Queue
{
    static_assert(std::is_trivially_copyable_v<Entry>, "queue entries are plain structs");

public:
    Entry& buffer() { return m_buffer; }
    const Entry& buffer() const { return m_buffer; }

    // Every entry removed; the buffer is kept.
    void free()
    {
        m_entries.clear();
        m_position = 0;
    }
    // As free, and the memory is given back.
    void release()
    {
        m_entries.clear();
        m_entries.shrink_to_fit();
        m_position = 0;
    }

    std::size_t records() const { return m_entries.size(); }
    // The position of the entry last read, added or put (0 when none).
    std::size_t position() const { return m_position; }

    // The buffer as a new last entry.
    int append()
    {
        m_entries.push_back(m_buffer);
        m_position = m_entries.size();
        clearError();
        return Error::None;
    }

    // The buffer inserted in ascending order of less(a, b); after any entries with an equal key.
    template <typename Less>
    int addOrdered(Less less)
    {
        const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), m_buffer, less);
        m_position = static_cast<std::size_t>(at - m_entries.begin()) + 1;
        m_entries.insert(at, m_buffer);
        clearError();
        return Error::None;
    }

    // The buffer inserted in ascending order of one member.
    template <typename Member>
    int addOrdered(Member Entry::*key)
    {
        return addOrdered([key](const Entry& a, const Entry& b) {
            return queuekey::compare(a.*key, b.*key) < 0;
        });
    }

    // The entry at a 1-based position into the buffer; 30 when out of range.
    int get(std::size_t position)
    {
        if (position < 1 || position > m_entries.size())
            return notFound();
        m_buffer = m_entries[position - 1];
        m_position = position;
        clearError();
        return Error::None;
    }

    // The first entry whose key equals the buffer's, found by binary search (the queue must be
    // in ascending order of that key); 30 when there is none.
    template <typename Member>
    int getByKey(Member Entry::*key)
    {
        return getByKey([key](const Entry& a, const Entry& b) {
            return queuekey::compare(a.*key, b.*key) < 0;
        });
    }

    template <typename Less>
    int getByKey(Less less)
    {
        const auto at = std::lower_bound(m_entries.begin(), m_entries.end(), m_buffer, less);
        if (at == m_entries.end() || less(m_buffer, *at))
            return notFound();
        m_position = static_cast<std::size_t>(at - m_entries.begin()) + 1;
        m_buffer = *at;
        clearError();
        return Error::None;
    }

    // The buffer written over the entry at the current position.
    int put()
    {
        if (m_position < 1 || m_position > m_entries.size())
            return notFound();
        m_entries[m_position - 1] = m_buffer;
        clearError();
        return Error::None;
    }

    // The entry at the current position removed; the position moves back by one, so a walk
    // that goes on with get(position() + 1) reads the entry that followed the removed one.
    int erase()
    {
        if (m_position < 1 || m_position > m_entries.size())
            return notFound();
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(m_position - 1));
        m_position -= 1;
        clearError();
        return Error::None;
    }

    // Read-only access to an entry without touching the buffer (1-based; no range check).
    const Entry& at(std::size_t position) const { return m_entries[position - 1]; }

private:
    int notFound()
    {
        setError(Error::QueueEntryNotFound);
        return Error::QueueEntryNotFound;
    }

    Entry m_buffer{};
    std::vector<Entry> m_entries;
    std::size_t m_position = 0;
};

} // namespace platform::storage
