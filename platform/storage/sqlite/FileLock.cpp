#include "platform/storage/sqlite/FileLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform::storage::sqlite {

FileLock::~FileLock()
{
    // Closing the descriptor drops the flock. It must outlive the SQLite connection: closing
    // a second descriptor of the file would drop SQLite's own POSIX locks.
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FileLock::attach(const std::string& path)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return m_fd >= 0;
}

bool FileLock::acquire(LockLevel level)
{
    if (level == LockLevel::None)
        return true;
    const LockLevel wanted = (level == LockLevel::Exclusive || m_exclusive > 0) ? LockLevel::Exclusive
                                                                                 : LockLevel::Shared;
    if (wanted != m_held && !apply(wanted)) {
        // flock converts by dropping the old lock first: take the shared one back.
        if (m_held != LockLevel::None)
            apply(m_held);
        return false;
    }
    if (level == LockLevel::Exclusive)
        ++m_exclusive;
    else
        ++m_shared;
    return true;
}

void FileLock::release(LockLevel level)
{
    if (level == LockLevel::Exclusive && m_exclusive > 0)
        --m_exclusive;
    else if (level == LockLevel::Shared && m_shared > 0)
        --m_shared;
    const LockLevel wanted = m_exclusive > 0 ? LockLevel::Exclusive
                             : m_shared > 0  ? LockLevel::Shared
                                             : LockLevel::None;
    if (wanted != m_held)
        apply(wanted);
}

bool FileLock::apply(LockLevel level)
{
    if (m_fd < 0)
        return level == LockLevel::None;
    const int operation = level == LockLevel::Exclusive ? LOCK_EX
                          : level == LockLevel::Shared  ? LOCK_SH
                                                        : LOCK_UN;
    int rc;
    do
        rc = ::flock(m_fd, operation | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0)
        return false;
    m_held = level;
    return true;
}

} // namespace platform::storage::sqlite
