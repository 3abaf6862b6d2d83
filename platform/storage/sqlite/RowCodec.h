#pragma once

#include "platform/storage/Layout.h"

#include <cstddef>

struct sqlite3_stmt;

// Moves field values between a packed record and SQLite: strings as TEXT holding the
// Windows-1251 bytes without trailing blanks, BYTE/SHORT/LONG as INTEGER, REAL as REAL.
// Bound texts point into the record (no copy): the record must stay put until the statement
// has stepped.
namespace platform::storage::sqlite {

class RowCodec
{
public:
    explicit RowCodec(const FileLayout& layout);

    // Every field, as parameters ?1..?n.
    int bindFields(sqlite3_stmt* statement, const std::byte* record) const;
    // The key's components, as parameters ?1..?k.
    int bindKey(sqlite3_stmt* statement, const KeyDef& key, const std::byte* record) const;
    // The fields from the row's columns firstColumn.. into the record.
    void read(sqlite3_stmt* statement, int firstColumn, std::byte* record) const;

    // Numbers zero, strings blank.
    void clear(std::byte* record) const;

private:
    int bindField(sqlite3_stmt* statement, int parameter, const FieldDef& field,
                  const std::byte* record) const;

    const FileLayout& m_layout;
};

} // namespace platform::storage::sqlite
