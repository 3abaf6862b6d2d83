#pragma once

#include "platform/storage/ContainsCopy.h"
#include "platform/storage/RecordFile.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// An in-memory copy of one text per record (the value of an expression over the record's
// fields, e.g. an upper-cased field) in a key's order, equal key values by record position,
// so that "contains" searches scan memory instead of the file. The copy is made on first use,
// or beforehand on a thread of its own (prepare), and made again whenever the file's content
// version has moved.
namespace platform::storage {

class Bindings;
class ContainsCopyBuild;
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
    // read error), and the callers then walk the file itself. A copy being made beforehand is
    // waited for and taken when the file has not changed since; none is made a second time.
    bool refresh();
    // Starts making the copy on a thread of its own when it is not in line with the file and
    // none is being made for the file as it is now; returns at once. A write to the file
    // stops it (the next refresh then makes the copy itself).
    void prepare();
    // Whether a copy is being made beforehand.
    bool preparing() const { return m_build != nullptr; }
    // Gives the copy's memory back (before a long run of writes that would leave it stale),
    // stopping one being made; the next refresh makes it again.
    void release();
    // Counts the copies made, so that results kept for an earlier copy can be told stale.
    uint64_t builds() const { return m_builds; }

    std::size_t entries() const { return m_copy.entries(); }
    int64_t position(std::size_t entry) const { return m_copy.position(entry); }
    uint32_t textId(std::size_t entry) const { return m_copy.textId(entry); }
    // The entry of a record position; NoEntry when the copy has none.
    std::size_t entryOf(int64_t position) const;

    std::size_t texts() const { return m_copy.texts(); }
    std::string_view text(uint32_t id) const { return m_copy.text(id); }
    // The texts in chunks of ContainsCopy::ChunkTexts, each chunk one run of bytes with a zero
    // byte after each text; text id starts at offset(id) in its chunk.
    std::string_view chunk(std::size_t c) const { return m_copy.chunk(c); }
    uint32_t offset(uint32_t id) const { return m_copy.offset(id); }

    // Bytes held by the copy.
    std::size_t memoryBytes() const { return m_copy.memoryBytes(); }

private:
    bool translated();
    bool build(const FilterSql& sql);
    void adopt(ContainsCopy copy, const ContentVersion& version);
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
    ContainsCopy m_copy;

    std::unique_ptr<ContainsCopyBuild> m_build; // the copy being made beforehand
    ContentVersion m_buildVersion;              // of the file as that build reads it
};

} // namespace platform::storage
