#include "platform/storage/sqlite/Collations.h"

#include "platform/text/Collation.h"

#include <sqlite3.h>

#include <string_view>

namespace platform::storage::sqlite {

namespace {

std::string_view bytesOf(int length, const void* data)
{
    return {static_cast<const char*>(data), static_cast<std::size_t>(length)};
}

int compareNoCase(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return text::compareNoCase(bytesOf(lengthA, a), bytesOf(lengthB, b));
}

int compareCase(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    return text::compareCollated(bytesOf(lengthA, a), bytesOf(lengthB, b));
}

} // namespace

int registerCollations(sqlite3* db)
{
    // The texts are Windows-1251 bytes stored as they are; SQLITE_UTF8 hands them over unconverted.
    int rc = sqlite3_create_collation_v2(db, NoCaseCollation, SQLITE_UTF8, nullptr, compareNoCase,
                                         nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_collation_v2(db, CaseCollation, SQLITE_UTF8, nullptr, compareCase,
                                         nullptr);
    return rc;
}

} // namespace platform::storage::sqlite
