#define SQLITE_HAS_CODEC 1
#include "platform/storage/sqlite/Salvage.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/sqlite/Collations.h"
#include "platform/storage/sqlite/ResultCodes.h"
#include "platform/storage/sqlite/RowCodec.h"
#include "platform/storage/sqlite/SchemaSql.h"

#include <sqlite3.h>

#include <limits>
#include <optional>
#include <vector>

namespace platform::storage::sqlite {

namespace {

constexpr int64_t Last = std::numeric_limits<int64_t>::max();

class Statement
{
public:
    Statement(sqlite3* db, const std::string& sql)
        : m_rc(sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_statement,
                                  nullptr))
    {
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int prepared() const { return m_rc; }
    sqlite3_stmt* get() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_rc;
};

class Connection
{
public:
    explicit Connection(const std::string& path)
        : m_rc(sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                               nullptr))
    {
        if (m_db)
            sqlite3_extended_result_codes(m_db, 1);
    }
    ~Connection() { sqlite3_close(m_db); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int opened() const { return m_rc; }
    sqlite3* get() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    int m_rc;
};

// The file's records must have the layout's fields, in order.
int checkColumns(sqlite3* db, const FileLayout& layout)
{
    Statement columns(db, "PRAGMA table_info(records)");
    if (columns.prepared() != SQLITE_OK)
        return Error::DamagedDataFile;
    std::size_t count = 0;
    bool same = true;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(columns.get())) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 1));
        same = same && count < layout.fields.size() && name && layout.fields[count].name == name;
        ++count;
    }
    if (rc != SQLITE_DONE || count == 0)
        return Error::DamagedDataFile;
    return same && count == layout.fields.size() ? Error::None : Error::InvalidLayout;
}

// Whether a seek to the first record at or beyond the position can be carried out.
bool seekable(sqlite3_stmt* probe, int64_t position)
{
    sqlite3_reset(probe);
    int rc = sqlite3_bind_int64(probe, 1, position);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(probe);
    sqlite3_reset(probe);
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

int64_t beyond(int64_t position, int64_t distance)
{
    return position > Last - distance ? Last : position + distance;
}

// The first position above bad from which a seek succeeds (none when no such position
// exists). Seeks fail inside a damaged part and succeed beyond it: steps that double find a
// position beyond, then halving finds the part's end.
std::optional<int64_t> endOfDamage(sqlite3_stmt* probe, int64_t bad)
{
    int64_t failing = bad;
    int64_t passing = failing;
    for (int64_t distance = 1;; distance = distance > Last / 2 ? Last : distance * 2) {
        passing = beyond(failing, distance);
        if (seekable(probe, passing))
            break;
        if (passing == Last)
            return std::nullopt;
        failing = passing;
    }
    while (passing - failing > 1) {
        const int64_t middle = failing + (passing - failing) / 2;
        if (seekable(probe, middle))
            passing = middle;
        else
            failing = middle;
    }
    return passing;
}

} // namespace

int salvageRecords(const std::string& path, const FileLayout& layout, const SchemaSql& schema,
                   const RowCodec& codec, const std::function<void(const std::byte*)>& each)
{
    Connection connection(path);
    if (connection.opened() != SQLITE_OK)
        return storageCode(connection.opened());
    sqlite3* db = connection.get();
    int rc = SQLITE_OK;
    if (!layout.ownerPassword.empty())
        rc = sqlite3_key(db, layout.ownerPassword.data(),
                         static_cast<int>(layout.ownerPassword.size()));
    if (rc == SQLITE_OK)
        rc = registerCollations(db);
    if (rc != SQLITE_OK)
        return storageCode(rc);
    if (const int code = checkColumns(db, layout))
        return code;

    // From a position on: a seek to a position beyond a damaged part does not enter it.
    Statement scan(db, schema.fileFrom());
    Statement probe(db, "SELECT rowid FROM records WHERE rowid >= ?1 ORDER BY rowid LIMIT 1");
    if (scan.prepared() != SQLITE_OK)
        return storageCode(scan.prepared());
    if (probe.prepared() != SQLITE_OK)
        return storageCode(probe.prepared());

    std::vector<std::byte> record(layout.recordSize);
    bool readAny = false;
    bool skipped = false;
    int64_t from = std::numeric_limits<int64_t>::min();
    for (;;) {
        sqlite3_reset(scan.get());
        rc = sqlite3_bind_int64(scan.get(), 1, from);
        bool advanced = false;
        int64_t last = from;
        while (rc == SQLITE_OK && (rc = sqlite3_step(scan.get())) == SQLITE_ROW) {
            codec.read(scan.get(), 1, record.data());
            last = sqlite3_column_int64(scan.get(), 0);
            advanced = readAny = true;
            each(record.data());
            rc = SQLITE_OK;
        }
        sqlite3_reset(scan.get());
        if (rc == SQLITE_DONE)
            break;
        // What follows the last record read cannot be read; when not even the scan's first
        // could, its position is passed over, so that every round moves on.
        skipped = true;
        const std::optional<int64_t> next = endOfDamage(probe.get(), advanced ? last : from);
        if (!next)
            break;
        from = *next;
    }
    return skipped && !readAny ? Error::DamagedDataFile : Error::None;
}

} // namespace platform::storage::sqlite
