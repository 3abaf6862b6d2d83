#pragma once

#include "platform/storage/sqlite/FileLock.h"
#include "platform/storage/sqlite/ReaderGate.h"

#include <atomic>
#include <cstdint>
#include <unordered_map>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The process's one SQLite connection to one data file: opened by the first open of any
// thread, closed when the last holder lets it go. It holds the share-mode lock, the prepared
// statements of the file and the stream (transaction) state.
namespace platform::storage::sqlite {

class Database : public std::enable_shared_from_this<Database>
{
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // The connection to the existing file at path (joined when the process already has one).
    // The password must open it and the stored layout description must equal description:
    // otherwise null, with code set (5 no access, 36 damaged, 47 another layout ...).
    static std::shared_ptr<Database> open(const std::string& path, const std::string& password,
                                          const std::string& description, int& code);
    // A new empty file at path, replacing one: made beside it and renamed over it, so a
    // failure leaves any old file as it was. Returns the storage code.
    static int create(const std::string& path, const std::string& password,
                      const std::vector<std::string>& schema, const std::string& description);
    // Whether this process has a connection to the file at path.
    static bool inUse(const std::string& path);

    // The connection the file's statements run on: its own, or while it is joined to another
    // file's run of writes, that file's.
    sqlite3* handle() const { return m_host ? m_host->m_db : m_db; }
    // Whether the file was opened without write access.
    bool readOnly() const;
    // The canonical path and the password the connection was opened with, and the file it
    // opened there (device and inode).
    const std::string& path() const { return m_path; }
    const std::string& password() const { return m_password; }
    uint64_t device() const { return m_device; }
    uint64_t inode() const { return m_inode; }
    // Where this connection's writes stop the reads of other threads' connections
    // (BackgroundScan): a run of writes holds it from its start to its end, a write outside a
    // run (beginWrite) for that write.
    const std::shared_ptr<ReaderGate>& readers() const { return m_readers; }
    void beginWrite();
    void endWrite();
    FileLock& lock() { return m_lock; }

    // A prepared statement of the text, reset and ready to bind; null with code set on failure.
    // While the process holds the file's exclusive lock no other process can change it, so
    // the connection keeps one read transaction open across statements instead of locking
    // and validating the file for each of them.
    sqlite3_stmt* statement(const std::string& sql, int& code);
    // After a write statement (done or failed): outside a stream it is committed at once.
    // Returns the code of that commit.
    int afterWrite();
    // Ends the held read transaction (before the lock is given up).
    void endRead();
    // Runs a statement without results; returns the storage code.
    int exec(const char* sql);
    // The same on the connection the file's statements run on (the host's while joined).
    int execHere(const std::string& sql);
    // The name of the file's database on that connection: "main", or its name while joined.
    std::string schemaName() const { return m_host ? m_schemaName : std::string("main"); }
    // A bulk fill appends to the table and keeps only the unique keys: a smaller page cache
    // holds what it touches.
    void beginBulkFill();
    // Index builds of a bulk fill: worker threads for the sort and the page cache they share
    // with it, until endIndexBuilds().
    void beginIndexBuilds();
    void endIndexBuilds();

    // Counts the writes made through the connection: walks re-seek when it moved.
    uint64_t generation() const { return m_generation; }
    void changed() { ++m_generation; }
    // Tells this connection from an earlier one to the same path (a file made anew).
    uint64_t serial() const { return m_serial; }

    // Runs of writes in one transaction; they nest, the outermost flush commits.
    int beginStream();
    int endStream();
    // A file joined to another's run is in that run.
    bool streaming() const { return m_host ? m_host->streaming() : m_streamDepth > 0; }
    // A failed write ended the run early: later writes are refused until the flush.
    bool streamBroken() const { return m_host ? m_host->m_streamBroken : m_streamBroken; }
    // After a failed write: SQLite may have rolled the whole transaction back.
    void noteWriteFailure();
    // Takes back every write of the run at once; the run stays open (later writes are refused)
    // until its last holder ends it, and that end reports nothing more.
    void abandonStream();

    // Damage met by any statement of the file: from then on it is not written on, as long as
    // this connection lasts (the last close of the file ends it).
    void markDamaged() { m_damaged = true; }
    bool damaged() const { return m_damaged; }

    // Makes guest's writes part of this file's next run of writes: this connection attaches
    // the guest's file, and until the run ends every statement of the guest runs here, so the
    // run's commit takes both files as one unit (a super-journal in rollback-journal mode: a
    // process killed at any moment leaves both as before or both as after). Neither file may
    // be in a run of writes. The guest returns to its own connection when the run ends.
    int join(Database& guest);
    // Lets the joined guests go back to their own connections (done by the run's end).
    void detachGuests();

private:
    Database() = default;
    int connect(const std::string& path, const std::string& password, const std::string& description);
    void setCache(int kibibytes);
    void setCacheOf(const std::string& schema, int kibibytes);
    Database& transactionOwner() { return m_host ? *m_host : *this; }

    FileLock m_lock;
    sqlite3* m_db = nullptr;
    std::string m_path;
    std::string m_password;
    std::string m_description;
    uint64_t m_device = 0;
    uint64_t m_inode = 0;
    std::shared_ptr<ReaderGate> m_readers = std::make_shared<ReaderGate>();
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
    uint64_t m_generation = 0;
    static inline std::atomic<uint64_t> s_lastSerial{0};
    uint64_t m_serial = ++s_lastSerial;
    int m_streamDepth = 0;
    bool m_streamBroken = false;
    bool m_readHeld = false;
    bool m_abandoned = false;
    bool m_damaged = false;

    // Joined runs of writes: the host this file's statements run on and its name there, or
    // the guests attached to this connection.
    std::shared_ptr<Database> m_host;
    std::string m_schemaName;
    std::unordered_map<std::string, sqlite3_stmt*> m_hostedStatements;
    std::vector<std::shared_ptr<Database>> m_guests;
    int m_joinedCount = 0;
};

} // namespace platform::storage::sqlite
