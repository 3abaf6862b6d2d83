#pragma once

#include <string>

struct sqlite3;

// Telling another layout from damage: a file made for another layout holds a description our
// storage wrote, in agreement with the file's own table; a description that is not one, or
// that disagrees with the table, was damaged.
namespace platform::storage::sqlite {

// Whether the description is well formed (record size, fields with their types and sizes,
// keys over those fields) and names the columns and indexes the file's table has.
bool describesStoredTable(sqlite3* db, const std::string& description);

} // namespace platform::storage::sqlite
