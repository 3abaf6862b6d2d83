#include "platform/storage/ContainsWalk.h"

#include "platform/storage/ContainsSearch.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/KeyOrder.h"
#include "platform/storage/RecordFile.h"

#include <cstring>

namespace platform::storage {

void ContainsWalk::setSearch(std::shared_ptr<ContainsSearch> search)
{
    m_search = std::move(search);
    m_active = false;
}

bool ContainsWalk::begin(int key, Start start, int64_t position)
{
    m_active = m_search && key >= 0 && m_search->begin(key);
    m_key = key;
    m_skipped.clear();
    const std::byte* buffer = m_file.buffer();
    const std::size_t size = m_file.layout().recordSize;
    switch (start) {
    case Start::Ends:
        m_from = From::Ends;
        break;
    case Start::Values:
        m_from = From::Values;
        if (m_active)
            m_values.assign(buffer, buffer + size);
        break;
    case Start::Place:
        m_from = From::Place;
        m_position = position;
        if (m_active)
            m_given.assign(buffer, buffer + size);
        break;
    }
    return m_active;
}

// The entry the walk goes on from (inclusive); entries() or NoEntry past either end.
int ContainsWalk::locate(bool forward, std::size_t& entry)
{
    ContainsIndex& index = m_search->index();
    const std::size_t entries = index.entries();
    switch (m_from) {
    case From::Ends:
        entry = forward ? 0 : entries - 1;
        return Error::None;
    case From::Place:
        return beyond(forward, entry);
    case From::Entry:
        if (m_entry < entries && index.position(m_entry) == m_position) {
            entry = forward ? m_entry + 1 : m_entry - 1;
            return Error::None;
        }
        // The copy was made again after a write: the walk goes on beyond the record last
        // given, by its key values as given and its position, as the file's own walk does;
        // as there, a record rewritten while it was the walk's last one (its key may have
        // moved it further on) is not met again in this walk.
        m_skipped.insert(m_position);
        return beyond(forward, entry);
    case From::Values:
        break;
    }
    // The file's own walk finds the first record at or after the values (the last at or
    // before them backwards); the copy then goes on from that record.
    std::memcpy(m_file.buffer(), m_values.data(), m_values.size());
    int code = m_file.setKeyFromBuffer(m_key);
    if (code == Error::None)
        code = forward ? m_file.next() : m_file.previous();
    if (code == Error::RecordNotAvailable) {
        entry = forward ? entries : ContainsIndex::NoEntry;
        return Error::None;
    }
    if (code != Error::None)
        return code;
    entry = index.entryOf(m_file.position());
    return entry == ContainsIndex::NoEntry ? Error::RecordNotAvailable : Error::None;
}

// The first entry beyond the place (m_given's key values, m_position) in the direction, found
// by halving the copy and reading the records at the halves.
int ContainsWalk::beyond(bool forward, std::size_t& entry)
{
    ContainsIndex& index = m_search->index();
    const FileLayout& layout = m_file.layout();
    m_scratch.resize(layout.recordSize);
    std::size_t low = 0;
    std::size_t high = index.entries();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const int64_t position = index.position(middle);
        const int code = m_file.peekAt(position, m_scratch.data());
        if (code != Error::None)
            return code;
        const int order = compareKeyValues(layout, m_key, m_scratch.data(), m_given.data());
        const bool before = order < 0 || (order == 0 && (forward ? position <= m_position
                                                                 : position < m_position));
        if (before)
            low = middle + 1;
        else
            high = middle;
    }
    entry = forward ? low : low - 1;
    return Error::None;
}

int ContainsWalk::step(bool forward, const std::function<bool()>& accept)
{
    ContainsIndex& index = m_search->index();
    // A write since the walk began: the copy is made again and the walk goes on from its
    // place in the new one.
    m_search->follow();
    std::size_t entry = 0;
    int code = locate(forward, entry);
    if (code != Error::None) {
        setError(code, m_file.diskName());
        return code;
    }
    const std::size_t entries = index.entries();
    for (; entry < entries; forward ? ++entry : --entry) {
        const int64_t position = index.position(entry);
        if (!m_search->matches(entry) || m_skipped.count(position) != 0)
            continue;
        code = m_file.getAt(position);
        if (code == Error::RecordNotFound)
            continue;
        if (code != Error::None)
            return code;
        m_from = From::Entry;
        m_entry = entry;
        m_position = position;
        m_given.assign(m_file.buffer(), m_file.buffer() + m_file.layout().recordSize);
        if (accept()) {
            clearError();
            return Error::None;
        }
    }
    // Past the end the walk stays at the record last given, as the file's own walk does.
    setError(Error::RecordNotAvailable, m_file.diskName());
    return Error::RecordNotAvailable;
}

} // namespace platform::storage
