#include "platform/storage/View.h"

#include "platform/storage/ContainsSearch.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterSql.h"
#include "platform/storage/KeyOrder.h"
#include "platform/storage/RecordFile.h"

#include <cstring>
#include <vector>

namespace platform::storage {

View::View(RecordFile& file, int key)
    : m_file(file)
    , m_key(key)
{
}

void View::setKey(int key)
{
    m_key = key;
}

int View::setFilter(std::string_view text, const Bindings* bindings)
{
    FilterScope scope(bindings);
    scope.addFile(m_file);
    return setFilter(text, scope);
}

int View::setFilter(std::string_view text, const FilterScope& scope)
{
    const int code = m_filter.compile(text, scope);
    translate();
    return code;
}

void View::setFilterInStorage(bool on)
{
    m_inStorage = on;
    translate();
}

void View::translate()
{
    m_sql = m_inStorage ? FilterSql::translate(m_filter, m_file) : nullptr;
}

int View::positioned(int code)
{
    // The condition goes with the walk just set; without one every record comes up and the
    // filter is evaluated here.
    if (code == Error::None && m_sql)
        m_file.setWalkFilter(m_sql);
    return code;
}

void View::setContainsSearch(std::shared_ptr<ContainsSearch> search)
{
    m_search = std::move(search);
    m_indexed = false;
}

void View::beginIndexed(From from)
{
    m_indexed = m_search && m_key >= 0 && m_filter.isValid() && m_search->begin(m_key);
    m_from = from;
    m_skipped.clear();
    if (m_indexed && from == From::Values)
        m_values.assign(m_file.buffer(), m_file.buffer() + m_file.layout().recordSize);
}

int View::setStart()
{
    beginIndexed(From::Start);
    return positioned(m_key < 0 ? m_file.setFileOrder() : m_file.setKey(m_key));
}

int View::setEnd()
{
    // A walk set on its order reads backwards from the last record.
    return setStart();
}

int View::setFromBuffer()
{
    beginIndexed(From::Values);
    return positioned(m_key < 0 ? m_file.setFileOrder() : m_file.setKeyFromBuffer(m_key));
}

bool View::passes()
{
    if (!m_filter.matches())
        return false;
    return !m_predicate || m_predicate();
}

int View::step(bool forward)
{
    if (!m_filter.isValid()) {
        setError(Error::RecordNotAvailable, m_file.diskName());
        return Error::RecordNotAvailable;
    }
    if (m_indexed)
        return stepIndexed(forward);
    for (;;) {
        const int code = forward ? m_file.next() : m_file.previous();
        if (code != Error::None)
            return code;
        // The engine has applied the filter when the walk still carries this view's condition
        // (another walk set on the file since has none).
        const bool decided = m_sql && m_file.walkFilter() == m_sql.get();
        if ((decided || m_filter.matches()) && (!m_predicate || m_predicate()))
            return Error::None;
    }
}

// The entry the walk goes on from (inclusive); entries() or -1 (as size_t) past the end.
int View::locate(bool forward, std::size_t& entry)
{
    ContainsIndex& index = m_search->index();
    const std::size_t entries = index.entries();
    switch (m_from) {
    case From::Start:
        entry = forward ? 0 : entries - 1;
        return Error::None;
    case From::Entry:
        if (m_entry < entries && index.position(m_entry) == m_position) {
            entry = forward ? m_entry + 1 : m_entry - 1;
            return Error::None;
        }
        return relocate(forward, entry);
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
    if (entry == ContainsIndex::NoEntry)
        return Error::RecordNotAvailable;
    return Error::None;
}

// The copy was made again after a write: the walk goes on after the record last given, by its
// key values as given and its position, as the file's own walk does; as there, a record that
// was rewritten while it was the walk's last one (its key may have moved it further on) is not
// met again in this walk.
int View::relocate(bool forward, std::size_t& entry)
{
    ContainsIndex& index = m_search->index();
    const FileLayout& layout = m_file.layout();
    std::size_t low = 0;
    std::size_t high = index.entries();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const int64_t position = index.position(middle);
        const int code = m_file.getPosition(position);
        if (code != Error::None)
            return code;
        const int order = compareKeyValues(layout, m_key, m_file.buffer(), m_given.data());
        const bool before = order < 0 || (order == 0 && (forward ? position <= m_position
                                                                 : position < m_position));
        if (before)
            low = middle + 1;
        else
            high = middle;
    }
    entry = forward ? low : low - 1;
    m_skipped.insert(m_position);
    return Error::None;
}

int View::stepIndexed(bool forward)
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
        if (!m_search->matches(entry) || m_skipped.count(index.position(entry)) != 0)
            continue;
        code = m_file.getPosition(index.position(entry));
        if (code == Error::RecordNotFound)
            continue;
        if (code != Error::None)
            return code;
        m_from = From::Entry;
        m_entry = entry;
        m_position = index.position(entry);
        m_given.assign(m_file.buffer(), m_file.buffer() + m_file.layout().recordSize);
        if (m_filter.matches() && (!m_predicate || m_predicate())) {
            clearError();
            return Error::None;
        }
    }
    // Past the end the walk stays at the record last given, as the file's own walk does.
    setError(Error::RecordNotAvailable, m_file.diskName());
    return Error::RecordNotAvailable;
}

int View::next()
{
    return step(true);
}

int View::previous()
{
    return step(false);
}

int64_t View::records()
{
    const std::size_t size = m_file.layout().recordSize;
    std::vector<std::byte> saved(m_file.buffer(), m_file.buffer() + size);
    int64_t count = 0;
    int code = setStart();
    if (code == Error::None && m_filter.isValid()) {
        while ((code = step(true)) == Error::None)
            ++count;
    }
    std::memcpy(m_file.buffer(), saved.data(), size);
    setStart();
    // Reaching the end is the normal way out; any other failure stays reported.
    if (code == Error::None || code == Error::RecordNotAvailable)
        clearError();
    else
        setError(code, m_file.diskName());
    return count;
}

} // namespace platform::storage
