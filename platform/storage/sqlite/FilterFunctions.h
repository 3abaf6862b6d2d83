#pragma once

struct sqlite3;

// The SQL functions of the filter language, registered on every connection so that a walk's
// filter condition (FilterSql) is evaluated by SQLite with the evaluator's semantics:
//   q_num(t), q_text(n)            a text as a number, a number as its text
//   q_truth(t)                     a text not blank
//   q_equal(a, b), q_compare(a, b) text comparison ignoring trailing blanks (the collation)
//   q_upper(t), q_clip(t)          the case table's upper case; without trailing blanks
//   q_instring(s, sp, t, tp, step, start)  instring with s and t padded to sp and tp bytes
//   q_format_text(v, n)            "@sN" without its trailing blanks
//   q_format(n, picture)           the other pictures
namespace platform::storage::sqlite {

// Returns the SQLite result code.
int registerFilterFunctions(sqlite3* db);

} // namespace platform::storage::sqlite
