#pragma once

#include "platform/storage/Layout.h"

#include <string>
#include <vector>

// The SQL of one layout. A data file is one table "records" (a column per field, physical
// order = rowid) and one index per key; the layout's description is kept in "layout" so that
// an open can tell whether the file was made for this layout.
//
// Every key query binds the same parameters: ?1..?k the key's components, ?(k+1) a rowid and
// ?(k+2) the row limit; file-order queries bind ?1 a rowid and ?2 the limit.
namespace platform::storage::sqlite {

class SchemaSql
{
public:
    explicit SchemaSql(const FileLayout& layout);

    // The statements that make an empty file, in order.
    std::vector<std::string> create() const;
    // The index of one key: its name, and the statement that builds it in the schema given
    // ("main", or the name a joined file has on its host's connection).
    static std::string indexName(int key);
    std::string createIndex(int key, const std::string& schema) const;
    // Field names, types and sizes, then the keys with their attributes: stored when the file
    // is made and compared on every open.
    const std::string& description() const { return m_description; }

    // The texts are made once; statements are looked up by them.
    const std::string& insert() const { return m_insert; }
    const std::string& update() const { return m_update; } // fields, then the rowid
    const std::string& erase() const { return m_erase; }
    const std::string& count() const { return m_count; }
    const std::string& empty() const { return m_empty; }

    // Physical order from the first or last record (no rowid), or after/before a rowid.
    const std::string& fileFromEnd(bool forward) const { return m_fileFromEnd[forward]; }
    const std::string& fileAfter(bool forward) const { return m_fileAfter[forward]; }

    // Key order from the first or last record of the key.
    const std::string& keyFromEnd(int key, bool forward) const;
    // The part of the key order that follows a position (components, rowid) in the direction:
    // the first equalCount components equal to the position's, the next one beyond it; with
    // equalCount = all components, the records of the same value beyond the rowid.
    const std::string& keySegment(int key, int equalCount, bool forward) const;
    // The first record (in key order) whose components equal ?1..?k.
    const std::string& keyEqual(int key) const;

    // The walk queries above with a filter condition added. Key order selects only the rowids
    // through the key's index, so a condition over the key's columns is decided from the index
    // alone and only the passing records are fetched (byRowid); file order selects whole rows.
    std::string filteredFile(bool positioned, bool forward, const std::string& condition) const;
    std::string filteredKeyFromEnd(int key, bool forward, const std::string& condition) const;
    std::string filteredKeySegment(int key, int equalCount, bool forward,
                                   const std::string& condition) const;
    // A statement that carries the condition as the walk queries do, with a little more
    // nesting: when it prepares, so do they.
    std::string conditionProbe(const std::string& condition) const;
    const std::string& byRowid() const { return m_byRowid; } // ?1 the rowid
    // Physical order from the first record at or beyond the rowid ?1, without a limit.
    std::string fileFrom() const;
    // Every record of the key in its order (components, then rowid): the rowid and the value
    // of an SQL expression over the columns, read through the key's index.
    std::string keyOrderScan(int key, const std::string& expression) const;

private:
    struct KeyQueries
    {
        std::string fromEnd[2];              // [forward]
        std::vector<std::string> segment[2]; // [forward][equalCount]
        std::string equal;
    };

    std::string makeInsert() const;
    std::string makeUpdate() const;
    std::string makeFileFromEnd(bool forward) const;
    std::string makeFileAfter(bool forward) const;
    std::string makeKeyFromEnd(int key, bool forward, bool rowidsOnly = false,
                               const std::string& condition = {}) const;
    std::string makeKeySegment(int key, int equalCount, bool forward, bool rowidsOnly = false,
                               const std::string& condition = {}) const;
    std::string makeKeyEqual(int key) const;

    std::string columns() const;
    std::string component(int field, const KeyDef& key) const;
    std::string keyFilter(const KeyDef& key) const; // the partial-index condition, or empty
    std::string orderFrom(const KeyDef& key, std::size_t first, bool forward) const;
    std::string limit(const KeyDef& key) const;
    std::string describe() const;

    const FileLayout& m_layout;
    std::string m_description;
    std::string m_insert;
    std::string m_update;
    std::string m_erase;
    std::string m_count;
    std::string m_empty;
    std::string m_byRowid;
    std::string m_fileFromEnd[2];
    std::string m_fileAfter[2];
    std::vector<KeyQueries> m_keys;
};

std::string quoteName(const std::string& name);

} // namespace platform::storage::sqlite
