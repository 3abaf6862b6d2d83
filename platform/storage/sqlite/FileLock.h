#pragma once

#include <string>

// The share-mode lock of a data file: an advisory flock(2) on the database file itself, held
// by the process's connection. Writers that let others write hold it shared, writers that
// deny writing hold it exclusively; readers take none. A crashed holder's lock goes with its
// process, so no stale lock can outlive it.
namespace platform::storage::sqlite {

enum class LockLevel { None, Shared, Exclusive };

class FileLock
{
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Opens the file the lock is taken on; false when it cannot be opened.
    bool attach(const std::string& path);
    // Takes one more holder at the level without waiting; false when another process holds
    // a conflicting lock.
    bool acquire(LockLevel level);
    void release(LockLevel level);
    LockLevel held() const { return m_held; }

private:
    bool apply(LockLevel level);

    int m_fd = -1;
    LockLevel m_held = LockLevel::None;
    int m_shared = 0;
    int m_exclusive = 0;
};

} // namespace platform::storage::sqlite
