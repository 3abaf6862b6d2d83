#pragma once

#include "platform/storage/ContainsWalk.h"
#include "platform/storage/FilterExpression.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

// One record file read in a key's order (or physical order) through an optional filter
// expression and an optional per-record predicate: next and previous give only the records that
// pass, in the calling thread's record buffer of the file. Setting a position does not read
// ahead, so showing one page of a list reads about one page of records.
namespace platform::storage {

class Bindings;
class ContainsSearch;
class FilterSql;
class RecordFile;

class View
{
public:
    // key: an index into the layout's keys, or -1 for physical order.
    explicit View(RecordFile& file, int key = -1);

    RecordFile& file() const { return m_file; }
    int key() const { return m_key; }
    void setKey(int key);

    // The filter text over the file's fields (prefix:field) and the bound variables. An empty
    // text removes the filter; a text that does not compile (800, 801) lets no record pass.
    int setFilter(std::string_view text, const Bindings* bindings = nullptr);
    // The same with a scope that names further records.
    int setFilter(std::string_view text, const FilterScope& scope);
    const FilterExpression& filter() const { return m_filter; }
    // Whether the filter is decided by the storage engine (translated to SQL) rather than
    // evaluated here per record; the results are the same. On by default.
    bool filterInStorage() const { return m_sql != nullptr; }
    void setFilterInStorage(bool on);

    // Run for each record that passed the filter, with the record in the buffer.
    using Predicate = std::function<bool()>;
    void setPredicate(Predicate predicate) { m_predicate = std::move(predicate); }

    // A narrowing through an in-memory copy of a searched text, used by the walks in its key's
    // order while its condition holds (null: none). The records given are the same.
    void setContainsSearch(std::shared_ptr<ContainsSearch> search);
    // Whether the current walk goes through the narrowing.
    bool walksThroughIndex() const;

    // Positions: next() then gives the first passing record, previous() the last one.
    int setStart();
    int setEnd();
    // From the buffer's key values: next() gives the first passing record whose key is not
    // lower, previous() the last whose key is not higher. In physical order: as setStart.
    int setFromBuffer();
    // Beyond the place (the buffer's key values, the position): next() gives the first passing
    // record after it, previous() the last one before it. Equal key values are ordered by
    // position, so a place is unique however many records share a value.
    int setAt(int64_t position);

    int next();     // 33 when no further record passes
    int previous();

    // Whether the record in the buffer passes.
    bool passes();

    // The passing records, counted by a full pass. The buffer is kept; the view is then at its
    // start.
    int64_t records();

private:
    int step(bool forward);
    int positioned(int code);
    void translate();

    RecordFile& m_file;
    int m_key;
    FilterExpression m_filter;
    bool m_inStorage = true;
    std::shared_ptr<const FilterSql> m_sql;
    Predicate m_predicate;

    ContainsWalk m_contains{m_file};
};

} // namespace platform::storage
