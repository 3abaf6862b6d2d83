#include "platform/storage/View.h"

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
    // filter is evaluated here. So it is too when the engine cannot take the condition.
    if (code == Error::None && m_sql && m_file.setWalkFilter(m_sql) != Error::None) {
        m_sql = nullptr;
        clearError();
    }
    return code;
}

void View::setContainsSearch(std::shared_ptr<ContainsSearch> search)
{
    m_contains.setSearch(std::move(search));
}

bool View::walksThroughIndex() const
{
    return m_contains.active();
}

int View::setStart()
{
    m_contains.begin(m_filter.isValid() ? m_key : -1, ContainsWalk::Start::Ends);
    return positioned(m_key < 0 ? m_file.setFileOrder() : m_file.setKey(m_key));
}

int View::setEnd()
{
    // A walk set on its order reads backwards from the last record.
    return setStart();
}

int View::setFromBuffer()
{
    m_contains.begin(m_filter.isValid() ? m_key : -1, ContainsWalk::Start::Values);
    return positioned(m_key < 0 ? m_file.setFileOrder() : m_file.setKeyFromBuffer(m_key));
}

int View::setAt(int64_t position)
{
    m_contains.begin(m_filter.isValid() ? m_key : -1, ContainsWalk::Start::Place, position);
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
    if (m_contains.active())
        return m_contains.step(forward, [this] {
            return m_filter.matches() && (!m_predicate || m_predicate());
        });
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
