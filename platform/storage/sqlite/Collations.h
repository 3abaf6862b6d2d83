#pragma once

struct sqlite3;

// The key collations every connection needs before it touches an index:
//   QNOCASE  "no case" keys: the case table, then the Cyrillic collation;
//   QCASE    keys that respect case: the Cyrillic collation alone.
namespace platform::storage::sqlite {

inline constexpr const char* NoCaseCollation = "QNOCASE";
inline constexpr const char* CaseCollation = "QCASE";

// Returns the SQLite result code.
int registerCollations(sqlite3* db);

} // namespace platform::storage::sqlite
