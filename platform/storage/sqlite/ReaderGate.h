#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

struct sqlite3;

// Where the process's writes to a file meet the reads that other threads make of it through
// connections of their own (BackgroundScan). A reader holds the file's shared lock, which a
// commit must wait for, and what it reads is stale once a write begins: so a write first
// stops every reader inside and keeps new ones out until it ends. Readers are refused, too,
// once any write has begun since they were made, so what a reader reads is the file as it was
// when it was made.
namespace platform::storage::sqlite {

class ReaderGate
{
public:
    // The count of writes begun so far: a reader made now passes it to enter().
    uint64_t writesBegun();

    // A reader's thread: false (and nothing to leave) when a write is going on or has begun
    // since the count was taken.
    bool enter(sqlite3* connection, uint64_t writesBegunWhenMade);
    void leave(sqlite3* connection);
    // Whether a write has begun since the count was taken: the reader is to stop and leave.
    // Asked between rows, so a write never waits long even if it interrupted no statement.
    bool stopped(uint64_t writesBegunWhenMade) const
    {
        return m_writesBegun.load(std::memory_order_acquire) != writesBegunWhenMade;
    }

    // The writer's thread: interrupts the readers inside and waits until they have left; until
    // the matching end no reader enters. Writes nest.
    void beginWrites();
    void endWrites();

private:
    std::mutex m_mutex;
    std::condition_variable m_left;
    std::vector<sqlite3*> m_inside;
    std::atomic<uint64_t> m_writesBegun{0};
    int m_writing = 0;
};

} // namespace platform::storage::sqlite
