#define SQLITE_HAS_CODEC 1
#include "platform/storage/BackgroundScan.h"

#include "platform/storage/FilterSql.h"
#include "platform/storage/sqlite/Collations.h"
#include "platform/storage/sqlite/FilterFunctions.h"
#include "platform/storage/sqlite/ReaderGate.h"

#include <sqlite3.h>

#include <sys/stat.h>

namespace platform::storage {

namespace {

// A walk reads each page once, in order: a small page cache will do.
constexpr const char* ReaderSettings =
    "PRAGMA cache_size = -2048; PRAGMA mmap_size = 0; PRAGMA temp_store = FILE";

// The connection of one run, closed at its end.
class ReadConnection
{
public:
    explicit ReadConnection(const BackgroundScan::Source& source)
    {
        int rc = sqlite3_open_v2(source.path.c_str(), &m_db,
                                 SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc == SQLITE_OK && !source.password.empty())
            rc =
                sqlite3_key(m_db, source.password.data(), static_cast<int>(source.password.size()));
        if (rc == SQLITE_OK)
            rc = sqlite::registerCollations(m_db);
        if (rc == SQLITE_OK)
            rc = sqlite::registerFilterFunctions(m_db);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(m_db, ReaderSettings, nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            sqlite3_busy_timeout(m_db, 1000);
        m_ok = rc == SQLITE_OK;
    }
    ~ReadConnection() { sqlite3_close(m_db); }
    ReadConnection(const ReadConnection&) = delete;
    ReadConnection& operator=(const ReadConnection&) = delete;

    sqlite3* handle() const { return m_db; }
    bool ok() const { return m_ok; }

private:
    sqlite3* m_db = nullptr;
    bool m_ok = false;
};

// Whether the path still names the file the source's connection has open.
bool sameFile(const BackgroundScan::Source& source)
{
    struct stat info
    {
    };
    return ::stat(source.path.c_str(), &info) == 0 &&
           static_cast<uint64_t>(info.st_dev) == source.device &&
           static_cast<uint64_t>(info.st_ino) == source.inode;
}

int64_t largestPosition(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    int64_t largest = 0;
    if (sqlite3_prepare_v2(db, "SELECT max(rowid) FROM records", -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        largest = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return largest;
}

} // namespace

BackgroundScan::BackgroundScan(Source source) : m_source(std::move(source))
{
}

BackgroundScan::~BackgroundScan() = default;

BackgroundScan::Result
BackgroundScan::run(const std::function<void(int64_t)>& expected,
                    const std::function<bool(int64_t, std::string_view)>& each)
{
    if (!m_source.expression || !m_source.gate)
        return Result::Failed;
    ReadConnection connection(m_source);
    if (!connection.ok())
        return Result::Failed;
    sqlite::ReaderGate& gate = *m_source.gate;
    if (!gate.enter(connection.handle(), m_source.writesBegun))
        return Result::Stopped;
    const auto stopped = [&] {
        return m_stop.load(std::memory_order_acquire) || gate.stopped(m_source.writesBegun);
    };
    sqlite3* db = connection.handle();
    Result result = Result::Failed;
    sqlite3_stmt* statement = nullptr;
    // One read transaction: the largest position and the walk see the same records.
    int rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    const int64_t largest = rc == SQLITE_OK ? largestPosition(db) : 0;
    // Once the transaction holds the file, a file put in its place meanwhile is seen.
    if (rc == SQLITE_OK && !sameFile(m_source))
        rc = SQLITE_ERROR;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, m_source.sql.c_str(), static_cast<int>(m_source.sql.size()),
                                &statement, nullptr);
    if (rc == SQLITE_OK)
        rc = m_source.expression->bind(statement);
    if (rc == SQLITE_OK) {
        expected(largest);
        result = Result::Complete;
        while (true) {
            if (stopped()) {
                result = Result::Stopped;
                break;
            }
            rc = sqlite3_step(statement);
            if (rc == SQLITE_DONE)
                break;
            if (rc != SQLITE_ROW) {
                result = stopped() ? Result::Stopped : Result::Failed;
                break;
            }
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
            const int size = sqlite3_column_bytes(statement, 1);
            if (!each(sqlite3_column_int64(statement, 0),
                      std::string_view(text ? text : "", static_cast<std::size_t>(size)))) {
                result = Result::Stopped;
                break;
            }
        }
    }
    sqlite3_finalize(statement);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    // A write waiting at the gate goes on once this run has left: what was read is then old.
    if (result == Result::Complete && stopped())
        result = Result::Stopped;
    gate.leave(db);
    return result;
}

} // namespace platform::storage
