#pragma once

#include <string>

// Tells whether another copy of the program works with a folder: the copy that works with it
// holds an advisory lock on the folder itself (no file is made). The lock belongs to the
// process and dies with it, so a crashed copy never leaves it behind.
namespace platform::storage {

class FolderLock
{
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Takes the folder's lock; false when another process holds it. A folder that cannot be
    // opened counts as free (nothing to tell).
    bool acquire(const std::string& folder);
    void release();
    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace platform::storage
