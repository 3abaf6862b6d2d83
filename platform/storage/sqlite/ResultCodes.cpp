#include "platform/storage/sqlite/ResultCodes.h"

#include "platform/storage/ErrorState.h"

#include <sqlite3.h>

#include <cerrno>

namespace platform::storage::sqlite {

int storageCode(int sqliteResult)
{
    switch (sqliteResult & 0xFF) {
    case SQLITE_OK:
    case SQLITE_ROW:
    case SQLITE_DONE:
        return Error::None;
    case SQLITE_CONSTRAINT:
        if (sqliteResult == SQLITE_CONSTRAINT_UNIQUE || sqliteResult == SQLITE_CONSTRAINT_PRIMARYKEY)
            return Error::DuplicateKey;
        return Error::DriverError;
    case SQLITE_FULL:
        return Error::DiskFull;
    case SQLITE_IOERR:
        // A write cut short is a full disk or a file size limit (the engine says FULL only
        // for ENOSPC); a failed read is said as such.
        if (sqliteResult == SQLITE_IOERR_WRITE)
            return Error::DiskFull;
        if (sqliteResult == SQLITE_IOERR_READ || sqliteResult == SQLITE_IOERR_SHORT_READ)
            return Error::ReadError;
        return Error::DriverError;
    case SQLITE_NOMEM:
        return Error::OutOfMemory;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Error::SharingViolation;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
        return Error::AccessDenied;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_SCHEMA:
        return Error::DamagedDataFile;
    default:
        // Anything unforeseen: the driver error.
        return Error::DriverError;
    }
}

} // namespace platform::storage::sqlite

namespace platform::storage::sqlite {

int codeOfErrno(int error)
{
    switch (error) {
    case 0:
        return Error::None;
    case ENOENT:
        return Error::FileNotFound;
    case ENOTDIR:
        return Error::PathNotFound;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return Error::DiskFull;
    case EIO:
        return Error::DriverError;
    case ENAMETOOLONG:
    case EINVAL:
        return Error::BadFileName;
    default:
        return Error::AccessDenied;
    }
}

} // namespace platform::storage::sqlite
