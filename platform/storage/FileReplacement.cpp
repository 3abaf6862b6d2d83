#include "platform/storage/FileReplacement.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/Leftovers.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/sqlite/ResultCodes.h"

#include <cerrno>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::storage {

namespace {

int syncPath(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return sqlite::codeOfErrno(errno);
    int code = Error::None;
    if (::fsync(fd) != 0 && errno != EINVAL) // a folder that cannot be synced is no failure
        code = sqlite::codeOfErrno(errno);
    ::close(fd);
    return code;
}

std::string folderOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

} // namespace

FileReplacement::FileReplacement(std::string_view diskName)
    : m_target(resolveFileName(diskName))
    , m_temporary(temporaryBeside(m_target))
{
    removeLeftovers(folderOf(m_target));
}

FileReplacement::~FileReplacement()
{
    if (!m_done)
        abandon();
}

int FileReplacement::commit()
{
    m_done = true;
    struct stat previous {};
    if (::stat(m_target.c_str(), &previous) == 0)
        ::chmod(m_temporary.c_str(), previous.st_mode & 07777);
    int code = syncPath(m_temporary, O_RDONLY);
    if (code == Error::None && ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        code = sqlite::codeOfErrno(errno);
    if (code != Error::None) {
        ::unlink(m_temporary.c_str());
        setError(code, m_target);
        return code;
    }
    // The rename itself reaches the disk with the folder.
    syncPath(folderOf(m_target), O_RDONLY | O_DIRECTORY);
    clearError();
    return Error::None;
}

void FileReplacement::abandon()
{
    m_done = true;
    ::unlink(m_temporary.c_str());
}

} // namespace platform::storage
