#include "platform/storage/View.h"

#include "platform/storage/ContainsSearch.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterSql.h"
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

int View::setAt(int64_t position)
{
    return positioned(m_key < 0 ? m_file.setFileOrderAt(position) : m_file.setKeyAt(m_key, position));
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
        if (m_entry >= entries || index.position(m_entry) != m_position) {
            // The copy was made again since: find the record last given in it.
            m_entry = index.entryOf(m_position);
            if (m_entry == ContainsIndex::NoEntry)
                return Error::RecordNotAvailable;
        }
        entry = forward ? m_entry + 1 : m_entry - 1;
        return Error::None;
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

int View::stepIndexed(bool forward)
{
    ContainsIndex& index = m_search->index();
    // A write since the walk began: the copy is made again and the walk goes on from its
    // place in the new one.
    if (!m_search->begin(m_key)) {
        setError(Error::RecordNotAvailable, m_file.diskName());
        return Error::RecordNotAvailable;
    }
    std::size_t entry = 0;
    int code = locate(forward, entry);
    if (code != Error::None) {
        setError(code, m_file.diskName());
        return code;
    }
    const std::size_t entries = index.entries();
    for (; entry < entries; forward ? ++entry : --entry) {
        if (!m_search->matches(entry))
            continue;
        code = m_file.getAt(index.position(entry));
        if (code == Error::RecordNotFound)
            continue;
        if (code != Error::None)
            return code;
        m_from = From::Entry;
        m_entry = entry;
        m_position = index.position(entry);
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
