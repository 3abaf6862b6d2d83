#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

// One thread's walk over a file in physical or key order. The walk remembers the last record
// it gave (its key values and rowid) and reads ahead a batch of the records that follow it;
// when anything was written to the file since, the batch is dropped and the walk seeks again
// from the last record, so writes neither skip nor repeat the records not yet walked. No
// statement stays open between calls, so a walk never holds the file's read lock.
namespace platform::storage {
class FilterSql;
}

namespace platform::storage::sqlite {

class Database;
class RowCodec;
class SchemaSql;

class Cursor
{
public:
    Cursor(const FileLayout& layout, const SchemaSql& schema, const RowCodec& codec);

    void setFileOrder();
    void setKey(int key);
    // From the first record (forward) or the last one (backward) whose key is not beyond the
    // record's key values.
    void setKeyFrom(int key, const std::byte* record);
    // As if the record with these key values at this position (rowid) had just been given:
    // the walk goes on beyond it in either direction. Equal key values are ordered by
    // position, so this is a unique place even among many equal values.
    void setKeyAt(int key, const std::byte* record, int64_t rowid);
    void setFileOrderAt(int64_t rowid);
    bool isSet() const { return m_order != Order::None; }

    // A condition the records of this walk must meet, decided by SQLite; setting an order
    // removes it. The position is kept; what was read ahead is read again under the condition.
    void setFilter(std::shared_ptr<const FilterSql> filter);
    const FilterSql* filter() const { return m_filter.get(); }

    // The next record in the direction into record; 0, 33 past the end, or another code.
    int step(Database& database, bool forward, std::byte* record, int64_t& rowid);

    // The record just walked was rewritten (its key may have moved ahead): do not meet it again.
    void rewritten(int64_t rowid);

    void setQuickScan(bool on);

private:
    enum class Order { None, File, Key };

    void reset(Order order, int key);
    int fill(Database& database, bool forward);
    int run(Database& database, const std::string& sql, std::size_t wanted);
    int fetch(Database& database);

    const FileLayout& m_layout;
    const SchemaSql& m_schema;
    const RowCodec& m_codec;

    Order m_order = Order::None;
    int m_key = -1;
    // The position: the record last given (or the values to start from) and its rowid.
    bool m_positioned = false;
    bool m_fromValues = false; // positioned at values, not at a record yet
    std::vector<std::byte> m_position;
    int64_t m_positionRowid = 0;

    // Records read ahead in m_aheadForward's direction, valid for m_generation.
    std::vector<std::byte> m_ahead;
    std::vector<int64_t> m_aheadRowids;
    std::size_t m_aheadNext = 0;
    bool m_aheadForward = true;
    uint64_t m_generation = 0;
    // A read ahead that failed after some records: they are given first, then this code.
    int m_failure = 0;
    std::size_t m_batch = 0;
    bool m_quickScan = false;

    std::unordered_set<int64_t> m_skip;

    std::shared_ptr<const FilterSql> m_filter;
    std::vector<int64_t> m_found; // rowids that passed, to fetch
};

} // namespace platform::storage::sqlite
