#pragma once

#include "platform/storage/RecordFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// An in-memory copy of one text per record (the value of an expression over the record's
// fields, e.g. an upper-cased field) in a key's order, equal key values by record position,
// so that "contains" searches scan memory instead of the file. Equal texts are kept once: each
// entry holds its record position and the number of its distinct text. The copy is made on
// first use and made again whenever the file's content version has moved.
namespace platform::storage {

class Bindings;
class FilterSql;

class ContainsIndex
{
public:
    static constexpr std::size_t NoEntry = static_cast<std::size_t>(-1);

    // searched: an expression text over the file's fields that gives a text.
    ContainsIndex(RecordFile& file, int key, std::string searched,
                  const Bindings* bindings = nullptr);
    ~ContainsIndex();
    ContainsIndex(const ContainsIndex&) = delete;
    ContainsIndex& operator=(const ContainsIndex&) = delete;

    RecordFile& file() const { return m_file; }
    int key() const { return m_key; }

    // Brings the copy in line with the file; false when it cannot serve now (an expression
    // that cannot be read through the storage engine, a file inside a run of writes, a
    // read error), and the callers then walk the file itself.
    bool refresh();
    // Gives the copy's memory back (before a long run of writes that would leave it stale);
    // the next refresh makes it again.
    void release() { clear(); }
    // Counts the copies made, so that results kept for an earlier copy can be told stale.
    uint64_t builds() const { return m_builds; }

    std::size_t entries() const { return m_textIds.size(); }
    int64_t position(std::size_t entry) const { return m_positions[entry]; }
    uint32_t textId(std::size_t entry) const { return m_textIds[entry]; }
    // The entry of a record position; NoEntry when the copy has none.
    std::size_t entryOf(int64_t position) const;

    std::size_t texts() const { return m_offsets.empty() ? 0 : m_offsets.size() - 1; }
    std::string_view text(uint32_t id) const;
    // The distinct texts one after another, each followed by a zero byte; text id's first
    // byte is at offset(id).
    const char* pool() const { return m_pool.data(); }
    uint32_t offset(uint32_t id) const { return m_offsets[id]; }

    // Bytes held by the copy.
    std::size_t memoryBytes() const;

private:
    bool build(const FilterSql& sql);
    void clear();

    RecordFile& m_file;
    int m_key;
    std::string m_searched;
    const Bindings* m_bindings;
    bool m_translated = false;
    std::shared_ptr<const FilterSql> m_sql;
    bool m_built = false;
    ContentVersion m_version;
    uint64_t m_builds = 0;

    std::vector<uint32_t> m_positions; // record positions, entry by entry
    std::vector<uint32_t> m_textIds;
    std::vector<char> m_pool;
    std::vector<uint32_t> m_offsets; // texts() + 1 offsets into the pool
};

} // namespace platform::storage
