#define SQLITE_HAS_CODEC 1
#include "platform/storage/sqlite/Database.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/Leftovers.h"
#include "platform/storage/sqlite/Collations.h"
#include "platform/storage/sqlite/FilterFunctions.h"
#include "platform/storage/sqlite/LayoutDescription.h"
#include "platform/storage/sqlite/PageCipher.h"
#include "platform/storage/sqlite/QualifiedSql.h"
#include "platform/storage/sqlite/ResultCodes.h"

#include <sqlite3.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::storage::sqlite {

namespace {

// Page cache per file; a stream (a price-list load) gets a larger one until its flush.
constexpr int CacheKibibytes = 65536;
constexpr int StreamCacheKibibytes = 131072;
// Building an index sorts its entries in runs of the page cache's size, written to temporary
// files and merged. Small runs sorted by worker threads beside the main one measured fastest
// (a 1M-record index: about a third of the time with one large run) and keep memory low.
constexpr int IndexBuildCacheKibibytes = 8192;
constexpr int IndexBuildThreads = 3;
constexpr int BulkFillCacheKibibytes = 32768;
constexpr int BusyMilliseconds = 3000;

struct Entry
{
    pid_t pid;
    std::weak_ptr<Database> database;
};

// Keyed by the canonical path. A forked child inherits the map but not the right to use its
// parent's connections: entries of another process id are ignored.
std::map<std::string, Entry>& registry()
{
    static std::map<std::string, Entry> all;
    return all;
}

std::string canonical(const std::string& path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return std::filesystem::absolute(path).lexically_normal().string();
}

std::shared_ptr<Database> live(const std::string& key)
{
    auto& all = registry();
    const auto it = all.find(key);
    if (it == all.end() || it->second.pid != ::getpid())
        return nullptr;
    return it->second.database.lock();
}

int applyKey(sqlite3* db, const std::string& password)
{
    if (password.empty())
        return SQLITE_OK;
    return sqlite3_key(db, password.data(), static_cast<int>(password.size()));
}

// Reads the stored description; the SQLite result code.
int readDescription(sqlite3* db, std::string& description)
{
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT description FROM layout", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const auto* text = sqlite3_column_text(statement, 0);
            description.assign(reinterpret_cast<const char*>(text),
                               static_cast<std::size_t>(sqlite3_column_bytes(statement, 0)));
            rc = SQLITE_OK;
        } else if (rc == SQLITE_DONE) {
            rc = SQLITE_CORRUPT; // the description row is missing
        }
    }
    sqlite3_finalize(statement);
    return rc;
}

int64_t pragmaNumber(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    int64_t value = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

} // namespace

Database::~Database()
{
    // Readers of a file no longer open stop, and none starts again.
    m_readers->beginWrites();
    for (auto& [sql, statement] : m_hostedStatements)
        sqlite3_finalize(statement);
    if (m_db) {
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        for (auto& [sql, statement] : m_statements)
            sqlite3_finalize(statement);
        sqlite3_close(m_db);
    }
    auto& all = registry();
    const auto it = all.find(m_path);
    if (it != all.end() && it->second.pid == ::getpid() && it->second.database.expired())
        all.erase(it);
}

bool Database::inUse(const std::string& path) { return live(canonical(path)) != nullptr; }

std::shared_ptr<Database> Database::open(const std::string& path, const std::string& password,
                                         const std::string& description, int& code)
{
    const std::string key = canonical(path);
    if (auto existing = live(key)) {
        code = existing->m_password != password         ? Error::AccessDenied
               : existing->m_description != description ? Error::InvalidLayout
                                                        : Error::None;
        return code == Error::None ? existing : nullptr;
    }
    std::shared_ptr<Database> database(new Database);
    code = database->connect(key, password, description);
    if (code != Error::None)
        return nullptr;
    registry()[key] = Entry{::getpid(), database};
    return database;
}

int Database::connect(const std::string& path, const std::string& password,
                      const std::string& description)
{
    m_path = path;
    m_password = password;
    m_description = description;
    if (!m_lock.attach(path))
        return codeOfErrno(errno);

    // Opening never creates: a missing file was reported above, and SQLite must not make one.
    int rc = sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(m_db);
        m_db = nullptr;
        rc = sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK)
            return storageCode(rc);
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, BusyMilliseconds);
    rc = applyKey(m_db, password);
    if (rc == SQLITE_OK)
        rc = registerCollations(m_db);
    if (rc == SQLITE_OK)
        rc = registerFilterFunctions(m_db);
    if (rc != SQLITE_OK)
        return storageCode(rc);

    std::string stored;
    rc = readDescription(m_db, stored);
    if ((rc & 0xFF) == SQLITE_NOTADB)
        // An enciphered file does not tell a wrong password from a damaged first page: both
        // are refused. Pages that pass their check beside ones that fail are damage.
        return password.empty() || checkPages(path, password) == PageCheck::SomePass
                   ? Error::DamagedDataFile
                   : Error::AccessDenied;
    if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED)
        return Error::AccessDenied;
    if ((rc & 0xFF) == SQLITE_ERROR)
        return Error::DamagedDataFile; // a database, but not a data file of ours
    if (rc != SQLITE_OK)
        return storageCode(rc);
    if (stored != description)
        // Only a description of another layout is one; damaged bytes are damage.
        return describesStoredTable(m_db, stored) ? Error::InvalidLayout : Error::DamagedDataFile;

    // A file cut short still has a header that counts its pages.
    struct stat info {};
    const int64_t pages = pragmaNumber(m_db, "PRAGMA page_count");
    const int64_t pageSize = pragmaNumber(m_db, "PRAGMA page_size");
    if (::stat(path.c_str(), &info) != 0 || pages < 0 || pageSize <= 0
        || static_cast<int64_t>(info.st_size) < pages * pageSize)
        return Error::DamagedDataFile;
    m_device = static_cast<uint64_t>(info.st_dev);
    m_inode = static_cast<uint64_t>(info.st_ino);

    setCache(CacheKibibytes);
    // Large sorts (an index built at once) spill to temporary files, not to the heap, which
    // would count in the program's resident size.
    sqlite3_exec(m_db, "PRAGMA temp_store = FILE", nullptr, nullptr, nullptr);
    // No memory map: its pages count in the program's resident size, and the kernel maps the
    // neighbours of every page touched, so one index scan brought in nearly the whole file.
    sqlite3_exec(m_db, "PRAGMA mmap_size = 0", nullptr, nullptr, nullptr);
    return Error::None;
}

int Database::create(const std::string& path, const std::string& password,
                     const std::vector<std::string>& schema, const std::string& description)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error))
        return Error::PathNotFound;

    FileLock guard;
    if (fs::exists(target, error)) {
        if (inUse(path))
            return Error::ExclusiveAccessRequired;
        if (guard.attach(path) && !guard.acquire(LockLevel::Exclusive))
            return Error::AccessDenied;
    }

    removeLeftovers(folder.string());
    const std::string fresh = temporaryBeside(path);
    ::unlink(fresh.c_str());
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(fresh.c_str(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 1);
        rc = applyKey(db, password);
    }
    if (rc == SQLITE_OK)
        rc = registerCollations(db);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (std::size_t i = 0; rc == SQLITE_OK && i < schema.size(); ++i)
        rc = sqlite3_exec(db, schema[i].c_str(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_stmt* insert = nullptr;
        rc = sqlite3_prepare_v2(db, "INSERT INTO layout (description) VALUES (?1)", -1, &insert, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_bind_text(insert, 1, description.data(), static_cast<int>(description.size()),
                                   SQLITE_STATIC);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(insert) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
        sqlite3_finalize(insert);
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const int closed = sqlite3_close(db);
    if (rc == SQLITE_OK)
        rc = closed;
    if (rc != SQLITE_OK) {
        ::unlink(fresh.c_str());
        ::unlink((fresh + "-journal").c_str());
        return (rc & 0xFF) == SQLITE_CANTOPEN ? Error::AccessDenied : storageCode(rc);
    }
    // A journal left by a crash belongs to the file being replaced: it must not be played
    // back into the new one.
    ::unlink((path + "-journal").c_str());
    if (::rename(fresh.c_str(), path.c_str()) != 0) {
        const int code = codeOfErrno(errno);
        ::unlink(fresh.c_str());
        return code;
    }
    return Error::None;
}

void Database::setCache(int kibibytes)
{
    const std::string pragma = "PRAGMA cache_size = -" + std::to_string(kibibytes);
    sqlite3_exec(m_db, pragma.c_str(), nullptr, nullptr, nullptr);
}

void Database::setCacheOf(const std::string& schema, int kibibytes)
{
    const std::string pragma = "PRAGMA " + schema + ".cache_size = -" + std::to_string(kibibytes);
    sqlite3_exec(handle(), pragma.c_str(), nullptr, nullptr, nullptr);
}

void Database::beginBulkFill()
{
    setCacheOf(schemaName(), BulkFillCacheKibibytes);
}

void Database::beginIndexBuilds()
{
    // The sorts size themselves by the main database's cache.
    setCacheOf("main", IndexBuildCacheKibibytes);
    if (m_host)
        setCacheOf(m_schemaName, IndexBuildCacheKibibytes);
    const std::string pragma = "PRAGMA threads = " + std::to_string(IndexBuildThreads);
    sqlite3_exec(handle(), pragma.c_str(), nullptr, nullptr, nullptr);
}

void Database::endIndexBuilds()
{
    sqlite3_exec(handle(), "PRAGMA threads = 0", nullptr, nullptr, nullptr);
    setCacheOf("main", StreamCacheKibibytes);
    if (m_host)
        setCacheOf(m_schemaName, StreamCacheKibibytes);
}

int Database::execHere(const std::string& sql)
{
    return storageCode(sqlite3_exec(handle(), sql.c_str(), nullptr, nullptr, nullptr));
}

sqlite3_stmt* Database::statement(const std::string& sql, int& code)
{
    code = Error::None;
    if (m_host) {
        auto it = m_hostedStatements.find(sql);
        if (it != m_hostedStatements.end()) {
            sqlite3_reset(it->second);
            return it->second;
        }
        const std::string qualified = qualifiedSql(sql, m_schemaName);
        sqlite3_stmt* prepared = nullptr;
        const int rc = sqlite3_prepare_v2(m_host->m_db, qualified.c_str(),
                                          static_cast<int>(qualified.size()), &prepared, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(prepared);
            code = storageCode(rc);
            return nullptr;
        }
        m_hostedStatements.emplace(sql, prepared);
        return prepared;
    }
    if (!m_readHeld && m_streamDepth == 0 && m_lock.held() == LockLevel::Exclusive
        && sqlite3_get_autocommit(m_db))
        m_readHeld = sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        sqlite3_reset(it->second);
        return it->second;
    }
    sqlite3_stmt* prepared = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &prepared, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(prepared);
        code = storageCode(rc);
        return nullptr;
    }
    m_statements.emplace(sql, prepared);
    return prepared;
}

int Database::exec(const char* sql)
{
    return storageCode(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
}

int Database::afterWrite()
{
    if (m_host)
        return m_host->afterWrite();
    if (!m_readHeld || m_streamDepth > 0)
        return Error::None;
    m_readHeld = false;
    if (sqlite3_get_autocommit(m_db))
        return Error::None; // SQLite already ended it after a failure
    const int code = exec("COMMIT");
    if (code != Error::None) {
        exec("ROLLBACK");
        changed();
    }
    return code;
}

void Database::endRead()
{
    if (m_host)
        return;
    if (m_readHeld && m_streamDepth == 0 && !sqlite3_get_autocommit(m_db))
        exec("COMMIT");
    m_readHeld = false;
}

int Database::beginStream()
{
    if (m_host)
        return m_host->beginStream();
    if (m_streamDepth == 0)
        m_readers->beginWrites();
    if (m_streamDepth == 0 && m_readHeld) {
        // The held read transaction becomes the stream's.
        m_readHeld = false;
        m_streamBroken = false;
    } else if (m_streamDepth == 0) {
        const int code = exec("BEGIN");
        if (code != Error::None) {
            m_readers->endWrites();
            return code;
        }
        m_streamBroken = false;
    }
    if (m_streamDepth == 0)
        setCache(StreamCacheKibibytes);
    ++m_streamDepth;
    return Error::None;
}

int Database::endStream()
{
    if (m_host)
        return m_host->endStream();
    if (m_streamDepth == 0)
        return Error::None;
    if (--m_streamDepth > 0)
        return Error::None;
    setCache(CacheKibibytes);
    int code = Error::None;
    if (m_streamBroken) {
        // SQLite rolled the run back after a failed write (or the run was abandoned): its
        // earlier writes are gone, and the flush must say so.
        if (!sqlite3_get_autocommit(m_db))
            exec("ROLLBACK");
        m_streamBroken = false;
        changed();
        code = Error::StreamError;
    } else {
        code = exec("COMMIT");
        if (code != Error::None && !sqlite3_get_autocommit(m_db)) {
            exec("ROLLBACK");
            changed();
        }
    }
    detachGuests();
    m_readers->endWrites();
    return code;
}

void Database::beginWrite()
{
    if (!streaming())
        m_readers->beginWrites();
}

void Database::endWrite()
{
    if (!streaming())
        m_readers->endWrites();
}

void Database::noteWriteFailure()
{
    if (m_host) {
        m_host->noteWriteFailure();
        return;
    }
    if (m_streamDepth > 0 && sqlite3_get_autocommit(m_db))
        m_streamBroken = true;
}

void Database::abandonStream()
{
    Database& owner = transactionOwner();
    if (owner.m_streamDepth == 0)
        return;
    if (!sqlite3_get_autocommit(owner.m_db))
        owner.exec("ROLLBACK");
    owner.m_streamBroken = true;
    owner.changed();
    for (const auto& guest : owner.m_guests)
        guest->changed();
}

bool Database::readOnly() const
{
    return sqlite3_db_readonly(handle(), m_host ? m_schemaName.c_str() : "main") == 1;
}

int Database::join(Database& guest)
{
    if (&guest == this || m_host || guest.m_host || !guest.m_guests.empty())
        return Error::ExclusiveAccessRequired;
    if (m_streamDepth > 0 || guest.m_streamDepth > 0)
        return Error::StreamError;
    // ATTACH is refused inside a transaction, and the guest's own connection must hold no
    // lock on its file while this one writes it.
    guest.endRead();
    endRead();
    const std::string name = "joined" + std::to_string(++m_joinedCount);
    sqlite3_stmt* attach = nullptr;
    const std::string sql = "ATTACH DATABASE ?1 AS " + name + " KEY ?2";
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &attach, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_bind_text(attach, 1, guest.m_path.c_str(), -1, SQLITE_TRANSIENT);
    if (rc == SQLITE_OK)
        rc = sqlite3_bind_text(attach, 2, guest.m_password.data(),
                               static_cast<int>(guest.m_password.size()), SQLITE_TRANSIENT);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(attach) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(m_db);
    sqlite3_finalize(attach);
    if (rc != SQLITE_OK)
        return storageCode(rc);
    // A multi-file commit is atomic only with a rollback journal and synced writes on every
    // file taking part.
    const std::string settings = "PRAGMA " + name + ".journal_mode = DELETE; PRAGMA " + name
                                 + ".synchronous = FULL; PRAGMA " + name + ".cache_size = -"
                                 + std::to_string(StreamCacheKibibytes);
    sqlite3_exec(m_db, settings.c_str(), nullptr, nullptr, nullptr);
    // The guest's writes run here until the run ends: its readers stop for the whole run.
    guest.m_readers->beginWrites();
    guest.m_host = shared_from_this();
    guest.m_schemaName = name;
    guest.changed();
    m_guests.push_back(guest.shared_from_this());
    return Error::None;
}

void Database::detachGuests()
{
    for (const auto& guest : m_guests) {
        for (auto& [sql, statement] : guest->m_hostedStatements)
            sqlite3_finalize(statement);
        guest->m_hostedStatements.clear();
        const std::string detach = "DETACH DATABASE " + guest->m_schemaName;
        sqlite3_exec(m_db, detach.c_str(), nullptr, nullptr, nullptr);
        guest->m_host.reset();
        guest->m_schemaName.clear();
        guest->changed();
        guest->m_readers->endWrites();
    }
    m_guests.clear();
}

} // namespace platform::storage::sqlite
