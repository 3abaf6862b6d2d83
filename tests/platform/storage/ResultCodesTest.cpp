#include "platform/storage/ErrorState.h"
#include "platform/storage/sqlite/ResultCodes.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cerrno>

using namespace platform::storage;

// A full disk and a failed read each have their own code, so the user reads what happened
// instead of the driver error.
TEST(ResultCodes, FullDiskAndReadErrorsAreToldApart)
{
    using sqlite::storageCode;
    EXPECT_EQ(storageCode(SQLITE_FULL), Error::DiskFull);
    EXPECT_EQ(storageCode(SQLITE_IOERR_WRITE), Error::DiskFull);
    EXPECT_EQ(storageCode(SQLITE_IOERR_READ), Error::ReadError);
    EXPECT_EQ(storageCode(SQLITE_IOERR_SHORT_READ), Error::ReadError);
    EXPECT_EQ(storageCode(SQLITE_IOERR_FSYNC), Error::DriverError);
    EXPECT_EQ(storageCode(SQLITE_IOERR), Error::DriverError);
    EXPECT_EQ(storageCode(SQLITE_CONSTRAINT_UNIQUE), Error::DuplicateKey);
    EXPECT_EQ(storageCode(SQLITE_CONSTRAINT_NOTNULL), Error::DriverError);
    EXPECT_EQ(storageCode(SQLITE_INTERNAL), Error::DriverError);

    using sqlite::codeOfErrno;
    EXPECT_EQ(codeOfErrno(ENOSPC), Error::DiskFull);
    EXPECT_EQ(codeOfErrno(EDQUOT), Error::DiskFull);
    EXPECT_EQ(codeOfErrno(EFBIG), Error::DiskFull);
    EXPECT_EQ(codeOfErrno(EIO), Error::DriverError);
    EXPECT_NE(Error::DiskFull, Error::DriverError);
    EXPECT_NE(Error::ReadError, Error::DriverError);
}
