#include "platform/storage/sqlite/Cursor.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterSql.h"
#include "platform/storage/sqlite/Database.h"
#include "platform/storage/sqlite/ResultCodes.h"
#include "platform/storage/sqlite/RowCodec.h"
#include "platform/storage/sqlite/SchemaSql.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace platform::storage::sqlite {

namespace {

// A walk starts with small batches (a list page, a single lookup) and grows them while it
// goes on, up to the size a whole-file scan reads at once.
constexpr std::size_t FirstBatch = 8;
constexpr std::size_t LargestBatch = 512;

} // namespace

Cursor::Cursor(const FileLayout& layout, const SchemaSql& schema, const RowCodec& codec)
    : m_layout(layout)
    , m_schema(schema)
    , m_codec(codec)
    , m_position(layout.recordSize)
{
}

void Cursor::reset(Order order, int key)
{
    m_order = order;
    m_key = key;
    m_positioned = false;
    m_fromValues = false;
    m_ahead.clear();
    m_aheadRowids.clear();
    m_aheadNext = 0;
    m_failure = 0;
    m_batch = m_quickScan ? LargestBatch : FirstBatch;
    m_skip.clear();
    m_filter.reset();
}

void Cursor::setFilter(std::shared_ptr<const FilterSql> filter)
{
    m_filter = std::move(filter);
    m_ahead.clear();
    m_aheadRowids.clear();
    m_aheadNext = 0;
    m_failure = 0;
}

void Cursor::setFileOrder() { reset(Order::File, -1); }

void Cursor::setKey(int key) { reset(Order::Key, key); }

void Cursor::setKeyFrom(int key, const std::byte* record)
{
    reset(Order::Key, key);
    std::memcpy(m_position.data(), record, m_layout.recordSize);
    m_positioned = true;
    m_fromValues = true;
}

void Cursor::setKeyAt(int key, const std::byte* record, int64_t rowid)
{
    reset(Order::Key, key);
    std::memcpy(m_position.data(), record, m_layout.recordSize);
    m_positionRowid = rowid;
    m_positioned = true;
}

void Cursor::setFileOrderAt(int64_t rowid)
{
    reset(Order::File, -1);
    m_positionRowid = rowid;
    m_positioned = true;
}

void Cursor::setQuickScan(bool on)
{
    m_quickScan = on;
    if (on)
        m_batch = LargestBatch;
}

void Cursor::rewritten(int64_t rowid)
{
    if (m_positioned && !m_fromValues && rowid == m_positionRowid)
        m_skip.insert(rowid);
}

int Cursor::step(Database& database, bool forward, std::byte* record, int64_t& rowid)
{
    if (m_order == Order::None)
        return Error::RecordNotAvailable;
    for (;;) {
        const bool usable = m_aheadNext < m_aheadRowids.size() && m_aheadForward == forward
                            && m_generation == database.generation();
        if (!usable) {
            // The records read before a failure (a damaged page further on) were given; the
            // failure follows them.
            const bool failed = m_failure != Error::None && m_generation == database.generation() &&
                                m_aheadForward == forward;
            const int pending = std::exchange(m_failure, Error::None);
            if (failed)
                return pending;
            const int code = fill(database, forward);
            if (code != Error::None) {
                if (m_aheadRowids.empty())
                    return code;
                m_failure = code;
            } else if (m_aheadRowids.empty()) {
                return Error::RecordNotAvailable;
            }
        }
        const std::byte* row = m_ahead.data() + m_aheadNext * m_layout.recordSize;
        rowid = m_aheadRowids[m_aheadNext++];
        std::memcpy(m_position.data(), row, m_layout.recordSize);
        m_positionRowid = rowid;
        m_positioned = true;
        m_fromValues = false;
        if (m_skip.erase(rowid))
            continue;
        std::memcpy(record, row, m_layout.recordSize);
        return Error::None;
    }
}

int Cursor::fill(Database& database, bool forward)
{
    // Records read ahead and then dropped by a write (a walk that rewrites as it goes) start
    // the read-ahead small again, so each write costs the same whatever the file's size.
    if (m_generation != database.generation() && m_aheadNext < m_aheadRowids.size())
        m_batch = FirstBatch;
    m_ahead.clear();
    m_aheadRowids.clear();
    m_aheadNext = 0;
    m_aheadForward = forward;
    m_generation = database.generation();
    const std::size_t wanted = m_batch;
    m_batch = std::min(m_batch * 2, LargestBatch);

    if (m_positioned && m_fromValues)
        // Values to start from: every record of equal key belongs to the walk.
        m_positionRowid = forward ? std::numeric_limits<int64_t>::min()
                                  : std::numeric_limits<int64_t>::max();

    if (m_order == Order::File) {
        if (m_filter)
            return run(database, m_schema.filteredFile(m_positioned, forward, m_filter->condition()),
                       wanted);
        return run(database, m_positioned ? m_schema.fileAfter(forward) : m_schema.fileFromEnd(forward),
                   wanted);
    }
    if (!m_positioned)
        return run(database,
                   m_filter ? m_schema.filteredKeyFromEnd(m_key, forward, m_filter->condition())
                            : m_schema.keyFromEnd(m_key, forward),
                   wanted);
    const int components = static_cast<int>(m_layout.keys[static_cast<std::size_t>(m_key)].fields.size());
    for (int equal = components; equal >= 0 && m_aheadRowids.size() < wanted; --equal) {
        const int code = run(database,
                             m_filter ? m_schema.filteredKeySegment(m_key, equal, forward,
                                                                    m_filter->condition())
                                      : m_schema.keySegment(m_key, equal, forward),
                             wanted - m_aheadRowids.size());
        if (code != Error::None)
            return code;
    }
    return Error::None;
}

int Cursor::run(Database& database, const std::string& sql, std::size_t wanted)
{
    int code = Error::None;
    sqlite3_stmt* statement = database.statement(sql, code);
    if (!statement)
        return code;
    int rc = SQLITE_OK;
    if (m_order == Order::File) {
        rc = sqlite3_bind_int64(statement, 1, m_positionRowid);
        if (rc == SQLITE_OK)
            rc = sqlite3_bind_int64(statement, 2, static_cast<int64_t>(wanted));
    } else {
        const KeyDef& key = m_layout.keys[static_cast<std::size_t>(m_key)];
        const int components = static_cast<int>(key.fields.size());
        rc = m_codec.bindKey(statement, key, m_position.data());
        if (rc == SQLITE_OK)
            rc = sqlite3_bind_int64(statement, components + 1, m_positionRowid);
        if (rc == SQLITE_OK)
            rc = sqlite3_bind_int64(statement, components + 2, static_cast<int64_t>(wanted));
    }
    if (rc == SQLITE_OK && m_filter)
        rc = m_filter->bind(statement);
    // A filtered key walk selects the passing rowids first (from the index when it can) and
    // then fetches just those records.
    const bool rowidsOnly = m_filter && m_order == Order::Key;
    m_found.clear();
    while (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        if (rowidsOnly) {
            m_found.push_back(sqlite3_column_int64(statement, 0));
        } else {
            const std::size_t at = m_ahead.size();
            m_ahead.resize(at + m_layout.recordSize);
            m_codec.read(statement, 1, m_ahead.data() + at);
            m_aheadRowids.push_back(sqlite3_column_int64(statement, 0));
        }
        rc = SQLITE_OK;
    }
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        return storageCode(rc);
    return rowidsOnly ? fetch(database) : Error::None;
}

int Cursor::fetch(Database& database)
{
    if (m_found.empty())
        return Error::None;
    int code = Error::None;
    sqlite3_stmt* statement = database.statement(m_schema.byRowid(), code);
    if (!statement)
        return code;
    for (const int64_t rowid : m_found) {
        int rc = sqlite3_bind_int64(statement, 1, rowid);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const std::size_t at = m_ahead.size();
            m_ahead.resize(at + m_layout.recordSize);
            m_codec.read(statement, 1, m_ahead.data() + at);
            m_aheadRowids.push_back(rowid);
            rc = SQLITE_DONE;
        }
        sqlite3_reset(statement);
        if (rc != SQLITE_DONE)
            return storageCode(rc);
    }
    return Error::None;
}

} // namespace platform::storage::sqlite
