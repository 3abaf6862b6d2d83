#include "platform/automation/outlook/MailStore.h"

#include "platform/automation/AutomationError.h"
#include "platform/storage/sqlite/Database.h"

#include <QDir>
#include <QStandardPaths>
#include <QUuid>

#include <sqlite3.h>

#include <filesystem>

namespace platform::automation::outlook {

using storage::sqlite::Database;

namespace {

// The stored description names the layout: a file of another layout is not taken for ours.
const char* const kDescription = "mail store 1";

const std::vector<std::string> kSchema{
    "CREATE TABLE layout (description TEXT NOT NULL)",
    "CREATE TABLE items (id INTEGER PRIMARY KEY AUTOINCREMENT, entry_id TEXT NOT NULL UNIQUE, "
    "folder INTEGER NOT NULL, kind INTEGER NOT NULL)",
    "CREATE INDEX items_by_folder ON items (folder, id)",
    "CREATE TABLE properties (item INTEGER NOT NULL, name TEXT NOT NULL, value BLOB NOT NULL, "
    "user INTEGER NOT NULL, PRIMARY KEY (item, user, name))",
    "CREATE TABLE attachments (item INTEGER NOT NULL, position INTEGER NOT NULL, "
    "file_name BLOB NOT NULL, data BLOB NOT NULL, PRIMARY KEY (item, position))",
};

void bindText(sqlite3_stmt* statement, int index, const std::string& text)
{
    sqlite3_bind_blob(statement, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

// Entry ids are plain texts, so that they compare without regard to case.
void bindEntryId(sqlite3_stmt* statement, int index, const std::string& id)
{
    sqlite3_bind_text(statement, index, id.data(), static_cast<int>(id.size()), SQLITE_TRANSIENT);
}

std::string columnText(sqlite3_stmt* statement, int column)
{
    const void* data = sqlite3_column_blob(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size))
                : std::string();
}

// Streams keep a save whole: the rows of an item are written in one transaction.
class Transaction
{
public:
    explicit Transaction(Database& database) : m_database(database)
    {
        m_code = m_database.beginStream();
    }
    ~Transaction()
    {
        if (!m_done && m_code == 0) {
            m_database.exec("ROLLBACK");
            m_database.endStream();
            m_database.changed();
        }
    }
    int begun() const { return m_code; }
    int commit()
    {
        m_done = true;
        return m_database.endStream();
    }

private:
    Database& m_database;
    int m_code = 0;
    bool m_done = false;
};

} // namespace

MailStore::MailStore(const std::string& path) : m_path(path)
{
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    int code = 0;
    if (!std::filesystem::exists(path)) {
        code = Database::create(path, "", kSchema, kDescription);
        check(code, "the mail store cannot be created");
    }
    m_database = Database::open(path, "", kDescription, code);
    check(m_database ? 0 : (code ? code : -1), "the mail store cannot be opened");
}

MailStore::~MailStore() = default;

std::string MailStore::defaultPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(folder).filePath(QStringLiteral("mail-store.db")).toStdString();
}

void MailStore::check(int code, const char* what) const
{
    if (code != 0)
        throw AutomationError(std::string(what) + " (" + m_path + ", code " + std::to_string(code) +
                              ")");
}

void MailStore::save(StoredItem& item)
{
    Database& db = *m_database;
    Transaction transaction(db);
    check(transaction.begun(), "the mail store cannot be written");
    int code = 0;
    auto run = [&](const std::string& sql, auto bind) {
        sqlite3_stmt* statement = db.statement(sql, code);
        check(code, "the mail store cannot be written");
        bind(statement);
        const int rc = sqlite3_step(statement);
        sqlite3_reset(statement);
        if (rc != SQLITE_DONE)
            throw AutomationError("the mail store cannot be written: " +
                                  std::string(sqlite3_errmsg(db.handle())));
    };
    if (item.id == 0) {
        if (item.entryId.empty())
            item.entryId = QUuid::createUuid().toString(QUuid::Id128).toUpper().toStdString();
        run("INSERT INTO items (entry_id, folder, kind) VALUES (?1, ?2, ?3)", [&](sqlite3_stmt* s) {
            bindEntryId(s, 1, item.entryId);
            sqlite3_bind_int(s, 2, item.folder);
            sqlite3_bind_int(s, 3, item.kind);
        });
        item.id = sqlite3_last_insert_rowid(db.handle());
    } else {
        run("UPDATE items SET folder = ?2, kind = ?3 WHERE id = ?1", [&](sqlite3_stmt* s) {
            sqlite3_bind_int64(s, 1, item.id);
            sqlite3_bind_int(s, 2, item.folder);
            sqlite3_bind_int(s, 3, item.kind);
        });
        run("DELETE FROM properties WHERE item = ?1",
            [&](sqlite3_stmt* s) { sqlite3_bind_int64(s, 1, item.id); });
        run("DELETE FROM attachments WHERE item = ?1",
            [&](sqlite3_stmt* s) { sqlite3_bind_int64(s, 1, item.id); });
    }
    const std::string insertProperty =
        "INSERT INTO properties (item, name, value, user) VALUES (?1, ?2, ?3, ?4)";
    for (int user = 0; user < 2; ++user) {
        // Not a structured binding: clang 14 (the fuzz build) cannot capture one in a lambda.
        for (const auto& property : user ? item.userProperties : item.properties) {
            run(insertProperty, [&](sqlite3_stmt* s) {
                sqlite3_bind_int64(s, 1, item.id);
                bindText(s, 2, property.first);
                bindText(s, 3, property.second);
                sqlite3_bind_int(s, 4, user);
            });
        }
    }
    for (size_t i = 0; i < item.attachments.size(); ++i) {
        run("INSERT INTO attachments (item, position, file_name, data) VALUES (?1, ?2, ?3, ?4)",
            [&](sqlite3_stmt* s) {
                sqlite3_bind_int64(s, 1, item.id);
                sqlite3_bind_int64(s, 2, static_cast<int64_t>(i));
                bindText(s, 3, item.attachments[i].fileName);
                bindText(s, 4, item.attachments[i].data);
            });
    }
    db.changed();
    check(transaction.commit(), "the mail store cannot be written");
}

std::optional<StoredItem> MailStore::load(int64_t id)
{
    Database& db = *m_database;
    int code = 0;
    sqlite3_stmt* statement =
        db.statement("SELECT entry_id, folder, kind FROM items WHERE id = ?1", code);
    check(code, "the mail store cannot be read");
    sqlite3_bind_int64(statement, 1, id);
    if (sqlite3_step(statement) != SQLITE_ROW) {
        sqlite3_reset(statement);
        return std::nullopt;
    }
    StoredItem item;
    item.id = id;
    item.entryId = columnText(statement, 0);
    item.folder = sqlite3_column_int(statement, 1);
    item.kind = sqlite3_column_int(statement, 2);
    sqlite3_reset(statement);

    statement = db.statement("SELECT name, value, user FROM properties WHERE item = ?1", code);
    check(code, "the mail store cannot be read");
    sqlite3_bind_int64(statement, 1, id);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        auto& target = sqlite3_column_int(statement, 2) ? item.userProperties : item.properties;
        target[columnText(statement, 0)] = columnText(statement, 1);
    }
    sqlite3_reset(statement);

    statement = db.statement(
        "SELECT file_name, data FROM attachments WHERE item = ?1 ORDER BY position", code);
    check(code, "the mail store cannot be read");
    sqlite3_bind_int64(statement, 1, id);
    while (sqlite3_step(statement) == SQLITE_ROW)
        item.attachments.push_back({columnText(statement, 0), columnText(statement, 1)});
    sqlite3_reset(statement);
    return item;
}

std::optional<int64_t> MailStore::findEntryId(const std::string& entryId)
{
    int code = 0;
    sqlite3_stmt* statement =
        m_database->statement("SELECT id FROM items WHERE entry_id = ?1 COLLATE NOCASE", code);
    check(code, "the mail store cannot be read");
    bindEntryId(statement, 1, entryId);
    std::optional<int64_t> found;
    if (sqlite3_step(statement) == SQLITE_ROW)
        found = sqlite3_column_int64(statement, 0);
    sqlite3_reset(statement);
    return found;
}

void MailStore::remove(int64_t id)
{
    Database& db = *m_database;
    Transaction transaction(db);
    check(transaction.begun(), "the mail store cannot be written");
    for (const char* sql :
         {"DELETE FROM properties WHERE item = ?1", "DELETE FROM attachments WHERE item = ?1",
          "DELETE FROM items WHERE id = ?1"}) {
        int code = 0;
        sqlite3_stmt* statement = db.statement(sql, code);
        check(code, "the mail store cannot be written");
        sqlite3_bind_int64(statement, 1, id);
        const int rc = sqlite3_step(statement);
        sqlite3_reset(statement);
        if (rc != SQLITE_DONE)
            throw AutomationError("the mail store cannot be written: " +
                                  std::string(sqlite3_errmsg(db.handle())));
    }
    db.changed();
    check(transaction.commit(), "the mail store cannot be written");
}

std::vector<int64_t> MailStore::folderItems(int folder)
{
    int code = 0;
    sqlite3_stmt* statement =
        m_database->statement("SELECT id FROM items WHERE folder = ?1 ORDER BY id", code);
    check(code, "the mail store cannot be read");
    sqlite3_bind_int(statement, 1, folder);
    std::vector<int64_t> ids;
    while (sqlite3_step(statement) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(statement, 0));
    sqlite3_reset(statement);
    return ids;
}

} // namespace platform::automation::outlook
