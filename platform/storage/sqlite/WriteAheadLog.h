#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <map>

// The pages a write-ahead log beside a database file holds for it, read by the engine's
// documented log format, so that what was committed to the log but not yet copied into the
// file is read as well.
namespace platform::storage::sqlite {

struct LoggedPages
{
    std::map<uint32_t, off_t> frames; // page number -> offset of its page in the log
    uint32_t pages = 0;               // the file's size in pages after the last commit
};

// Of each page, the copy the last committed transaction of the log wrote; frames after the
// first whose salts or checksums do not hold, and frames of a transaction not committed, are
// left out. Nothing when the log is another page size's or has no valid header.
LoggedPages readWriteAheadLog(int descriptor, std::size_t pageSize);

} // namespace platform::storage::sqlite
