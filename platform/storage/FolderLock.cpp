#include "platform/storage/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform::storage {

FolderLock::~FolderLock()
{
    release();
}

bool FolderLock::acquire(const std::string& folder)
{
    release();
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void FolderLock::release()
{
    if (m_fd < 0)
        return;
    ::close(m_fd); // the lock goes with the descriptor
    m_fd = -1;
}

} // namespace platform::storage
