#include "platform/storage/RecordFile.h"

#include "platform/storage/BackgroundScan.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/FilterSql.h"
#include "platform/storage/LogicalThread.h"
#include "platform/storage/sqlite/Cursor.h"
#include "platform/storage/sqlite/Database.h"
#include "platform/storage/sqlite/ResultCodes.h"
#include "platform/storage/sqlite/RowCodec.h"
#include "platform/storage/sqlite/PageCipher.h"
#include "platform/storage/sqlite/PageRecords.h"
#include "platform/storage/sqlite/SchemaSql.h"
#include "platform/text/CaseTable.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>

namespace platform::storage {

using sqlite::Cursor;
using sqlite::Database;
using sqlite::LockLevel;

namespace {

constexpr int IndexNotAvailable = 77;
constexpr int NotSupported = 80;

// What a thread knows of the file: its record buffer, its open, its walk and the record it
// read last.
struct ThreadState
{
    std::vector<std::byte> buffer;
    std::shared_ptr<Database> database; // set while the thread has the file open
    LockLevel lock = LockLevel::None;
    bool readOnly = false;
    bool streaming = false;
    bool quickScan = false;
    std::unique_ptr<Cursor> cursor;
    bool hasLastRead = false;
    int64_t lastRead = 0;
};

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (text::toUpper(static_cast<unsigned char>(text[i]))
            != text::toUpper(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

} // namespace

struct RecordFile::Impl
{
    explicit Impl(FileLayout fileLayout)
        : layout(std::move(fileLayout))
        , schema(layout)
        , codec(layout)
    {
    }

    FileLayout layout;
    sqlite::SchemaSql schema;
    sqlite::RowCodec codec;
    std::string diskName;
    std::map<int, ThreadState> threads;
    std::vector<std::byte> scratch;
    int listener = 0;
    // Keys dropped for a bulk fill, to build before its run ends.
    std::vector<int> deferred;

    ThreadState& state()
    {
        ThreadState& state = threads[currentThread()];
        if (state.buffer.empty()) {
            state.buffer.resize(layout.recordSize);
            codec.clear(state.buffer.data());
        }
        return state;
    }

    std::string name() const
    {
        return diskName.empty() ? text::lower(layout.label) + ".tps" : diskName;
    }

    int finish(int code)
    {
        if (code == Error::None) {
            clearError();
            return code;
        }
        // The engine says a page of an enciphered file that fails its check only as an error.
        if (code == Error::DriverError && !layout.ownerPassword.empty()
            && sqlite::checkPages(resolveFileName(name()), layout.ownerPassword)
                   != sqlite::PageCheck::AllPass)
            code = Error::DamagedDataFile;
        setError(code, name());
        // Damage met by any operation marks the file: nothing writes on it any more.
        if (code == Error::DamagedDataFile) {
            const auto it = threads.find(currentThread());
            if (it != threads.end() && it->second.database)
                it->second.database->markDamaged();
        }
        return code;
    }

    // The thread's open database, or null with 37 left in the error state.
    Database* opened(ThreadState& state)
    {
        if (!state.database) {
            finish(Error::FileNotOpen);
            return nullptr;
        }
        return state.database.get();
    }

    int writable(ThreadState& state)
    {
        if (!state.database)
            return Error::FileNotOpen;
        if (state.readOnly)
            return Error::AccessDenied;
        if (state.database->damaged())
            return Error::DamagedDataFile;
        if (state.database->streamBroken())
            return Error::StreamError;
        return Error::None;
    }

    Cursor& cursor(ThreadState& state)
    {
        if (!state.cursor) {
            state.cursor = std::make_unique<Cursor>(layout, schema, codec);
            state.cursor->setQuickScan(state.quickScan);
        }
        return *state.cursor;
    }

    // A key that exists and can be walked now (not dropped for a bulk fill).
    bool validKey(int key) const
    {
        return key >= 0 && key < static_cast<int>(layout.keys.size())
               && std::find(deferred.begin(), deferred.end(), key) == deferred.end();
    }

    // Builds the keys dropped for a bulk fill, inside the run. A failed build takes the whole
    // run back: it must never be committed without them.
    int buildDeferredKeys(Database& database)
    {
        if (deferred.empty())
            return Error::None;
        if (database.streamBroken()) {
            deferred.clear(); // the run was taken back, the keys with it
            return Error::StreamError;
        }
        database.beginIndexBuilds();
        int code = Error::None;
        for (const int key : deferred) {
            code = database.execHere(schema.createIndex(key, database.schemaName()));
            if (code != Error::None)
                break;
        }
        database.endIndexBuilds();
        deferred.clear();
        database.changed();
        if (code != Error::None)
            database.abandonStream();
        return code;
    }

    // Ends the thread's run of writes: the dropped keys are built, then the run ends (the
    // last end commits). A run on a file found damaged is taken back whole.
    int endStream(ThreadState& state)
    {
        state.streaming = false;
        if (state.database->damaged()) {
            deferred.clear(); // the roll-back gives them back
            state.database->abandonStream();
            state.database->endStream();
            return Error::DamagedDataFile;
        }
        const int built = buildDeferredKeys(*state.database);
        const int ended = state.database->endStream();
        return built != Error::None ? built : ended;
    }

    // Ends the thread's open: its stream is flushed, its share of the lock released.
    int release(ThreadState& state)
    {
        int code = Error::None;
        if (state.streaming)
            code = endStream(state);
        state.database->endRead();
        state.database->lock().release(state.lock);
        state.database.reset();
        state.cursor.reset();
        state.hasLastRead = false;
        state.lock = LockLevel::None;
        return code;
    }

    int step(bool forward)
    {
        ThreadState& thread = state();
        Database* database = opened(thread);
        if (!database)
            return Error::FileNotOpen;
        int64_t rowid = 0;
        const int code = cursor(thread).step(*database, forward, thread.buffer.data(), rowid);
        thread.hasLastRead = code == Error::None;
        thread.lastRead = rowid;
        return finish(code);
    }

    // Runs a prepared write; the code.
    int write(Database& database, sqlite3_stmt* statement)
    {
        // Other threads' reads of the file stop first: the commit would wait for them.
        database.beginWrite();
        const int rc = sqlite3_step(statement);
        sqlite3_reset(statement);
        int code = Error::None;
        if (rc == SQLITE_DONE) {
            database.changed();
            code = database.afterWrite();
        } else {
            database.noteWriteFailure();
            database.afterWrite();
            code = sqlite::storageCode(rc);
        }
        database.endWrite();
        return code;
    }
};

RecordFile::RecordFile(FileLayout layout)
    : m_impl(std::make_unique<Impl>(std::move(layout)))
{
    Impl* impl = m_impl.get();
    m_impl->listener = addThreadEndListener([impl](int thread) {
        const auto it = impl->threads.find(thread);
        if (it == impl->threads.end())
            return;
        if (it->second.database)
            impl->release(it->second);
        impl->threads.erase(it);
    });
}

RecordFile::~RecordFile()
{
    removeThreadEndListener(m_impl->listener);
    for (auto& [thread, state] : m_impl->threads)
        if (state.database)
            m_impl->release(state);
}

const FileLayout& RecordFile::layout() const { return m_impl->layout; }

const std::string& RecordFile::label() const { return m_impl->layout.label; }

void RecordFile::setDiskName(std::string name) { m_impl->diskName = std::move(name); }

std::string RecordFile::diskName() const { return m_impl->name(); }

std::byte* RecordFile::buffer() { return m_impl->state().buffer.data(); }

const std::byte* RecordFile::buffer() const { return m_impl->state().buffer.data(); }

void RecordFile::clearBuffer() { m_impl->codec.clear(buffer()); }

int RecordFile::open(uint8_t mode)
{
    ThreadState& state = m_impl->state();
    if (state.database)
        return m_impl->finish(Error::FileAlreadyOpen);
    const std::string path = resolveFileName(m_impl->name());
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        const std::filesystem::path asPath(path);
        const bool folder = !asPath.has_parent_path() || std::filesystem::is_directory(asPath.parent_path(), error);
        return m_impl->finish(folder ? Error::FileNotFound : Error::PathNotFound);
    }
    int code = Error::None;
    auto database = Database::open(path, m_impl->layout.ownerPassword, m_impl->schema.description(), code);
    if (!database)
        return m_impl->finish(code);

    // Low nibble: 0 read, 1 write, 2 read/write; high nibble: 0x10 deny all, 0x20 deny
    // writing, 0x30 deny reading, 0x40 deny nothing.
    const bool write = (mode & 0x0F) != 0;
    const int deny = mode & 0xF0;
    const LockLevel level = !write                             ? LockLevel::None
                            : (deny == 0x10 || deny == 0x20) ? LockLevel::Exclusive
                                                               : LockLevel::Shared;
    if (write && database->readOnly())
        return m_impl->finish(Error::AccessDenied);
    if (!database->lock().acquire(level))
        return m_impl->finish(Error::AccessDenied);
    state.database = std::move(database);
    state.lock = level;
    state.readOnly = !write;
    state.cursor.reset();
    state.hasLastRead = false;
    return m_impl->finish(Error::None);
}

int RecordFile::close()
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    return m_impl->finish(m_impl->release(state));
}

bool RecordFile::isOpen() const { return m_impl->state().database != nullptr; }

bool RecordFile::isReadOnly() const
{
    const ThreadState& state = m_impl->state();
    return state.database && state.readOnly;
}

int RecordFile::create()
{
    if (m_impl->state().database)
        return m_impl->finish(Error::FileAlreadyOpen);
    const std::string path = resolveFileName(m_impl->name());
    return m_impl->finish(Database::create(path, m_impl->layout.ownerPassword,
                                           m_impl->schema.create(), m_impl->schema.description()));
}

bool RecordFile::damaged() const
{
    const ThreadState& state = m_impl->state();
    return state.database && state.database->damaged();
}

int RecordFile::salvage(const std::function<void()>& each)
{
    const std::size_t size = m_impl->layout.recordSize;
    const int code = sqlite::readRecordPages(resolveFileName(m_impl->name()), m_impl->layout,
                                             [&](const std::byte* read) {
                                                 std::memcpy(buffer(), read, size);
                                                 each();
                                             });
    return m_impl->finish(code);
}

int RecordFile::setFileOrder()
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    m_impl->cursor(state).setFileOrder();
    return m_impl->finish(Error::None);
}

int RecordFile::setKey(int key)
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    if (!m_impl->validKey(key))
        return m_impl->finish(IndexNotAvailable);
    m_impl->cursor(state).setKey(key);
    return m_impl->finish(Error::None);
}

int RecordFile::setKeyFromBuffer(int key)
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    if (!m_impl->validKey(key))
        return m_impl->finish(IndexNotAvailable);
    m_impl->cursor(state).setKeyFrom(key, state.buffer.data());
    return m_impl->finish(Error::None);
}

int RecordFile::setKeyAt(int key, int64_t position)
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    if (!m_impl->validKey(key))
        return m_impl->finish(IndexNotAvailable);
    m_impl->cursor(state).setKeyAt(key, state.buffer.data(), position);
    return m_impl->finish(Error::None);
}

int RecordFile::setFileOrderAt(int64_t position)
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    m_impl->cursor(state).setFileOrderAt(position);
    return m_impl->finish(Error::None);
}

int64_t RecordFile::position() const
{
    const ThreadState& state = m_impl->state();
    return state.database && state.hasLastRead ? state.lastRead : 0;
}

int RecordFile::getAt(int64_t position)
{
    ThreadState& state = m_impl->state();
    const int code = peekAt(position, state.buffer.data());
    state.hasLastRead = code == Error::None;
    if (code == Error::None)
        state.lastRead = position;
    return code;
}

int RecordFile::peekAt(int64_t position, std::byte* record)
{
    ThreadState& state = m_impl->state();
    Database* database = m_impl->opened(state);
    if (!database)
        return Error::FileNotOpen;
    int code = Error::None;
    sqlite3_stmt* statement = database->statement(m_impl->schema.byRowid(), code);
    if (!statement)
        return m_impl->finish(code);
    int rc = sqlite3_bind_int64(statement, 1, position);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW)
        m_impl->codec.read(statement, 1, record);
    sqlite3_reset(statement);
    if (rc == SQLITE_ROW)
        return m_impl->finish(Error::None);
    return m_impl->finish(rc == SQLITE_DONE ? Error::RecordNotFound : sqlite::storageCode(rc));
}

int RecordFile::setWalkFilter(std::shared_ptr<const FilterSql> filter)
{
    ThreadState& state = m_impl->state();
    Database* database = m_impl->opened(state);
    if (!database)
        return Error::FileNotOpen;
    if (filter) {
        // Tried once here (the statement is kept), rather than failing the walk halfway.
        int code = Error::None;
        if (!database->statement(m_impl->schema.conditionProbe(filter->condition()), code)) {
            m_impl->cursor(state).setFilter(nullptr);
            return m_impl->finish(Error::BadExpression);
        }
    }
    m_impl->cursor(state).setFilter(std::move(filter));
    return m_impl->finish(Error::None);
}

const FilterSql* RecordFile::walkFilter() const
{
    const ThreadState& state = m_impl->state();
    return state.cursor ? state.cursor->filter() : nullptr;
}

int RecordFile::next() { return m_impl->step(true); }

int RecordFile::previous() { return m_impl->step(false); }

int RecordFile::get(int key)
{
    ThreadState& state = m_impl->state();
    Database* database = m_impl->opened(state);
    if (!database)
        return Error::FileNotOpen;
    if (!m_impl->validKey(key))
        return m_impl->finish(IndexNotAvailable);
    int code = Error::None;
    sqlite3_stmt* statement = database->statement(m_impl->schema.keyEqual(key), code);
    if (!statement)
        return m_impl->finish(code);
    int rc = m_impl->codec.bindKey(statement, m_impl->layout.keys[static_cast<std::size_t>(key)],
                                   state.buffer.data());
    if (rc == SQLITE_OK)
        rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        // Read beside the buffer: the statement's parameters point into it.
        m_impl->scratch.resize(m_impl->layout.recordSize);
        m_impl->codec.read(statement, 1, m_impl->scratch.data());
        state.lastRead = sqlite3_column_int64(statement, 0);
        sqlite3_reset(statement);
        std::memcpy(state.buffer.data(), m_impl->scratch.data(), m_impl->layout.recordSize);
        state.hasLastRead = true;
        return m_impl->finish(Error::None);
    }
    sqlite3_reset(statement);
    state.hasLastRead = false;
    return m_impl->finish(rc == SQLITE_DONE ? Error::RecordNotFound : sqlite::storageCode(rc));
}

ContentVersion RecordFile::contentVersion()
{
    ThreadState& state = m_impl->state();
    if (!state.database)
        return {};
    Database& database = *state.database;
    ContentVersion version{database.serial(), database.generation(), 0};
    // Commits of other connections (another process) move the data version.
    int code = Error::None;
    if (sqlite3_stmt* statement = database.statement("PRAGMA data_version", code)) {
        if (sqlite3_step(statement) == SQLITE_ROW)
            version.others = sqlite3_column_int64(statement, 0);
        sqlite3_reset(statement);
    }
    return version;
}

bool RecordFile::inStream() const
{
    const ThreadState& state = m_impl->state();
    return state.database && state.database->streaming();
}

int RecordFile::scanKeyOrder(int key, const FilterSql& expression,
                             const std::function<bool(int64_t, std::string_view)>& each)
{
    ThreadState& state = m_impl->state();
    Database* database = m_impl->opened(state);
    if (!database)
        return Error::FileNotOpen;
    if (!m_impl->validKey(key))
        return m_impl->finish(IndexNotAvailable);
    // Not a kept statement: it is made once per scan and runs for a long time.
    sqlite3_stmt* statement = nullptr;
    const std::string sql = m_impl->schema.keyOrderScan(key, expression.condition());
    int rc = sqlite3_prepare_v2(database->handle(), sql.c_str(), static_cast<int>(sql.size()),
                                &statement, nullptr);
    if (rc == SQLITE_OK)
        rc = expression.bind(statement);
    while (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        const int size = sqlite3_column_bytes(statement, 1);
        if (!each(sqlite3_column_int64(statement, 0),
                  std::string_view(text ? text : "", static_cast<std::size_t>(size)))) {
            rc = SQLITE_DONE;
            break;
        }
        rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    return m_impl->finish(rc == SQLITE_DONE ? Error::None : sqlite::storageCode(rc));
}

int64_t RecordFile::largestPosition()
{
    ThreadState& state = m_impl->state();
    Database* database = m_impl->opened(state);
    if (!database)
        return 0;
    int code = Error::None;
    sqlite3_stmt* statement = database->statement("SELECT max(rowid) FROM records", code);
    if (!statement) {
        m_impl->finish(code);
        return 0;
    }
    const int rc = sqlite3_step(statement);
    const int64_t largest = rc == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    sqlite3_reset(statement);
    m_impl->finish(rc == SQLITE_ROW ? Error::None : sqlite::storageCode(rc));
    return largest;
}

std::unique_ptr<BackgroundScan> RecordFile::backgroundScan(int key,
                                                           std::shared_ptr<const FilterSql> expression)
{
    const ThreadState& state = m_impl->state();
    if (!state.database || state.database->streaming() || !expression || !m_impl->validKey(key))
        return nullptr;
    const Database& database = *state.database;
    BackgroundScan::Source source;
    source.path = database.path();
    source.password = database.password();
    source.device = database.device();
    source.inode = database.inode();
    source.sql = m_impl->schema.keyOrderScan(key, expression->condition());
    source.expression = std::move(expression);
    source.gate = database.readers();
    source.writesBegun = source.gate->writesBegun();
    return std::make_unique<BackgroundScan>(std::move(source));
}

int RecordFile::add()
{
    ThreadState& state = m_impl->state();
    if (const int code = m_impl->writable(state))
        return m_impl->finish(code);
    Database& database = *state.database;
    int code = Error::None;
    sqlite3_stmt* statement = database.statement(m_impl->schema.insert(), code);
    if (!statement)
        return m_impl->finish(code);
    const int rc = m_impl->codec.bindFields(statement, state.buffer.data());
    code = rc == SQLITE_OK ? m_impl->write(database, statement) : sqlite::storageCode(rc);
    if (code == Error::None) {
        state.lastRead = sqlite3_last_insert_rowid(database.handle());
        state.hasLastRead = true;
    }
    return m_impl->finish(code);
}

int RecordFile::put()
{
    ThreadState& state = m_impl->state();
    if (const int code = m_impl->writable(state))
        return m_impl->finish(code);
    if (!state.hasLastRead)
        return m_impl->finish(Error::RecordNotAvailable);
    Database& database = *state.database;
    int code = Error::None;
    sqlite3_stmt* statement = database.statement(m_impl->schema.update(), code);
    if (!statement)
        return m_impl->finish(code);
    int rc = m_impl->codec.bindFields(statement, state.buffer.data());
    if (rc == SQLITE_OK)
        rc = sqlite3_bind_int64(statement, static_cast<int>(m_impl->layout.fields.size() + 1),
                                state.lastRead);
    code = rc == SQLITE_OK ? m_impl->write(database, statement) : sqlite::storageCode(rc);
    if (code == Error::None && sqlite3_changes(database.handle()) == 0)
        code = Error::RecordNotAvailable; // deleted since it was read
    if (code == Error::None && state.cursor)
        state.cursor->rewritten(state.lastRead);
    return m_impl->finish(code);
}

int RecordFile::erase()
{
    ThreadState& state = m_impl->state();
    if (const int code = m_impl->writable(state))
        return m_impl->finish(code);
    if (!state.hasLastRead)
        return m_impl->finish(Error::RecordNotAvailable);
    Database& database = *state.database;
    int code = Error::None;
    sqlite3_stmt* statement = database.statement(m_impl->schema.erase(), code);
    if (!statement)
        return m_impl->finish(code);
    const int rc = sqlite3_bind_int64(statement, 1, state.lastRead);
    code = rc == SQLITE_OK ? m_impl->write(database, statement) : sqlite::storageCode(rc);
    if (code == Error::None && sqlite3_changes(database.handle()) == 0)
        code = Error::RecordNotAvailable;
    state.hasLastRead = false;
    return m_impl->finish(code);
}

int RecordFile::empty()
{
    ThreadState& state = m_impl->state();
    if (const int code = m_impl->writable(state))
        return m_impl->finish(code);
    Database& database = *state.database;
    int code = Error::None;
    sqlite3_stmt* statement = database.statement(m_impl->schema.empty(), code);
    if (!statement)
        return m_impl->finish(code);
    state.hasLastRead = false;
    return m_impl->finish(m_impl->write(database, statement));
}

int64_t RecordFile::records()
{
    ThreadState& state = m_impl->state();
    Database* database = m_impl->opened(state);
    if (!database)
        return 0;
    // A count over damaged pages may come out short without a word.
    if (database->damaged()) {
        m_impl->finish(Error::DamagedDataFile);
        return 0;
    }
    int code = Error::None;
    sqlite3_stmt* statement = database->statement(m_impl->schema.count(), code);
    if (!statement) {
        m_impl->finish(code);
        return 0;
    }
    const int rc = sqlite3_step(statement);
    const int64_t count = rc == SQLITE_ROW ? sqlite3_column_int64(statement, 0) : 0;
    sqlite3_reset(statement);
    m_impl->finish(rc == SQLITE_ROW ? Error::None : sqlite::storageCode(rc));
    return count;
}

int RecordFile::stream()
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    if (state.database->damaged())
        return m_impl->finish(Error::DamagedDataFile);
    if (state.streaming)
        return m_impl->finish(Error::None);
    const int code = state.database->beginStream();
    state.streaming = code == Error::None;
    return m_impl->finish(code);
}

int RecordFile::stream(RecordFile& partner)
{
    ThreadState& state = m_impl->state();
    ThreadState& other = partner.m_impl->state();
    if (const int code = m_impl->writable(state))
        return m_impl->finish(code);
    if (const int code = partner.m_impl->writable(other))
        return partner.m_impl->finish(code);
    if (state.streaming || other.streaming)
        return m_impl->finish(Error::StreamError);
    if (state.database == other.database)
        return m_impl->finish(Error::ExclusiveAccessRequired);
    if (const int code = state.database->join(*other.database))
        return m_impl->finish(code);
    const int code = state.database->beginStream();
    if (code != Error::None) {
        state.database->detachGuests(); // the partner goes back to its own connection
        return m_impl->finish(code);
    }
    state.database->beginStream(); // nests: the partner's flush is one more end
    state.streaming = true;
    other.streaming = true;
    return m_impl->finish(Error::None);
}

int RecordFile::discard()
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    if (!state.streaming)
        return m_impl->finish(Error::None);
    state.streaming = false;
    state.database->abandonStream();
    state.database->endStream();
    m_impl->deferred.clear(); // the roll-back gave them back
    return m_impl->finish(Error::None);
}

int RecordFile::flush()
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    if (!state.streaming)
        return m_impl->finish(Error::None);
    return m_impl->finish(m_impl->endStream(state));
}

int RecordFile::beginBulkFill()
{
    ThreadState& state = m_impl->state();
    if (const int code = m_impl->writable(state))
        return m_impl->finish(code);
    if (!state.streaming)
        return m_impl->finish(Error::StreamError);
    if (!m_impl->deferred.empty())
        return m_impl->finish(Error::None);
    Database& database = *state.database;
    const std::string schema = database.schemaName();
    for (std::size_t k = 0; k < m_impl->layout.keys.size(); ++k) {
        if (m_impl->layout.keys[k].unique)
            continue;
        const int key = static_cast<int>(k);
        const int code = database.execHere("DROP INDEX " + schema + "." + sqlite::SchemaSql::indexName(key));
        if (code != Error::None)
            return m_impl->finish(code); // the keys dropped so far are built by the flush
        m_impl->deferred.push_back(key);
    }
    database.beginBulkFill();
    database.changed();
    return m_impl->finish(Error::None);
}

int RecordFile::endBulkFill()
{
    ThreadState& state = m_impl->state();
    if (!m_impl->opened(state))
        return Error::FileNotOpen;
    return m_impl->finish(m_impl->buildDeferredKeys(*state.database));
}

int RecordFile::send(std::string_view command)
{
    // "Recover=<seconds>": how long to wait for a crashed holder's lock. A flock dies with
    // its process, so nothing is left to wait for; the command is accepted.
    if (startsWithNoCase(command, "Recover="))
        return m_impl->finish(Error::None);
    if (startsWithNoCase(command, "QUICKSCAN=")) {
        const std::string_view value = command.substr(10);
        const bool on = startsWithNoCase(value, "on");
        if (!on && !startsWithNoCase(value, "off"))
            return m_impl->finish(NotSupported);
        ThreadState& state = m_impl->state();
        state.quickScan = on;
        if (state.cursor)
            state.cursor->setQuickScan(on);
        return m_impl->finish(Error::None);
    }
    return m_impl->finish(NotSupported);
}

} // namespace platform::storage
