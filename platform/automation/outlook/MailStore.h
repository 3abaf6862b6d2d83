#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::storage::sqlite {
class Database;
}

namespace platform::automation::outlook {

// One stored item: its folder, its kind, its properties and user properties by name (names
// keep the spelling they were first written with; values are Windows-1251 texts) and copies of
// its attachments.
struct StoredAttachment
{
    std::string fileName; // Windows-1251, without the folder
    std::string data;
};

struct StoredItem
{
    int64_t id = 0; // 0 before the first save
    std::string entryId;
    int folder = 0;
    int kind = 0;
    std::map<std::string, std::string> properties;
    std::map<std::string, std::string> userProperties;
    std::vector<StoredAttachment> attachments;
};

// The user's mail and organiser store: one database file of the storage engine holding the
// items of every folder. Saving keeps an item's entry id; a save either writes the whole item
// or nothing. Failures throw AutomationError with the reason.
class MailStore
{
public:
    // Opens the store at path, creating it when there is none.
    explicit MailStore(const std::string& path);
    ~MailStore();
    MailStore(const MailStore&) = delete;
    MailStore& operator=(const MailStore&) = delete;

    // The default location: "mail-store.db" in the user's data folder.
    static std::string defaultPath();

    // Writes the item (a new one gets its id and entry id).
    void save(StoredItem& item);
    std::optional<StoredItem> load(int64_t id);
    std::optional<int64_t> findEntryId(const std::string& entryId);
    void remove(int64_t id);
    // The items of a folder in the order they were first saved.
    std::vector<int64_t> folderItems(int folder);

    const std::string& path() const { return m_path; }

private:
    void check(int code, const char* what) const;

    std::string m_path;
    std::shared_ptr<storage::sqlite::Database> m_database;
};

} // namespace platform::automation::outlook
