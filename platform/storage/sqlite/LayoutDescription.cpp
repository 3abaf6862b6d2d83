#include "platform/storage/sqlite/LayoutDescription.h"

#include <sqlite3.h>

#include <charconv>
#include <sstream>
#include <string_view>
#include <vector>

namespace platform::storage::sqlite {

namespace {

struct DescribedField
{
    std::string name;
    std::string column; // the column type the field is stored as
};

bool readNumber(const std::string& word, long& value)
{
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    return error == std::errc() && stop == end;
}

// The column type of a field type and whether its size fits it.
bool fieldColumn(const std::string& type, long size, std::string& column)
{
    if (type == "STRING") {
        column = "TEXT";
        return size >= 1;
    }
    column = type == "REAL" ? "REAL" : "INTEGER";
    return (type == "BYTE" && size == 1) || (type == "SHORT" && size == 2) ||
           (type == "LONG" && size == 4) || (type == "REAL" && size == 8);
}

bool keyLine(std::istringstream& words, std::size_t fields)
{
    std::string name, uniqueness, caseRule, word;
    if (!(words >> name >> uniqueness >> caseRule))
        return false;
    if ((uniqueness != "unique" && uniqueness != "duplicates") ||
        (caseRule != "nocase" && caseRule != "case"))
        return false;
    std::size_t components = 0;
    bool attributes = true;
    while (words >> word) {
        if (attributes && (word == "optional" || word == "primary"))
            continue;
        attributes = false;
        long field = 0;
        if (!readNumber(word, field) || field < 0 || static_cast<std::size_t>(field) >= fields)
            return false;
        ++components;
    }
    return components > 0;
}

// The described fields and the number of keys; false when the text is not a description.
bool parse(const std::string& description, std::vector<DescribedField>& fields, std::size_t& keys)
{
    std::istringstream lines(description);
    std::string line;
    long recordSize = -1;
    long sum = 0;
    keys = 0;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "record" && recordSize < 0 && fields.empty()) {
            std::string size, rest;
            if (!(words >> size) || !readNumber(size, recordSize) || recordSize <= 0 ||
                (words >> rest))
                return false;
        } else if (kind == "field" && recordSize > 0 && keys == 0) {
            std::string name, type, size, rest;
            long bytes = 0;
            DescribedField field;
            if (!(words >> name >> type >> size) || (words >> rest) || !readNumber(size, bytes) ||
                !fieldColumn(type, bytes, field.column))
                return false;
            field.name = name;
            fields.push_back(field);
            sum += bytes;
        } else if (kind == "key" && !fields.empty()) {
            if (!keyLine(words, fields.size()))
                return false;
            ++keys;
        } else {
            return false;
        }
    }
    return recordSize > 0 && !fields.empty() && sum == recordSize;
}

} // namespace

bool describesStoredTable(sqlite3* db, const std::string& description)
{
    std::vector<DescribedField> fields;
    std::size_t keys = 0;
    if (!parse(description, fields, keys))
        return false;

    sqlite3_stmt* statement = nullptr;
    bool agrees =
        sqlite3_prepare_v2(db, "PRAGMA table_info(records)", -1, &statement, nullptr) == SQLITE_OK;
    std::size_t column = 0;
    int rc = SQLITE_OK;
    while (agrees && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(statement, 2));
        agrees = column < fields.size() && name && type && fields[column].name == name &&
                 fields[column].column == type;
        ++column;
    }
    agrees = agrees && rc == SQLITE_DONE && column == fields.size();
    sqlite3_finalize(statement);
    if (!agrees)
        return false;

    statement = nullptr;
    std::size_t indexes = 0;
    agrees =
        sqlite3_prepare_v2(db, "PRAGMA index_list(records)", -1, &statement, nullptr) == SQLITE_OK;
    while (agrees && (rc = sqlite3_step(statement)) == SQLITE_ROW)
        ++indexes;
    agrees = agrees && rc == SQLITE_DONE && indexes == keys;
    sqlite3_finalize(statement);
    return agrees;
}

} // namespace platform::storage::sqlite
