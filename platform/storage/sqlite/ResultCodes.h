#pragma once

// The storage's error code for an SQLite result code (extended codes included) and for an
// errno of a file operation.
namespace platform::storage::sqlite {

int storageCode(int sqliteResult);
int codeOfErrno(int error);

} // namespace platform::storage::sqlite
