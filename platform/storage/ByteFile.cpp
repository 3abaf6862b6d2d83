#include "platform/storage/ByteFile.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/RecordFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::storage {

namespace {

// Callers go byte by byte: writes and reads pass through buffers of this size.
constexpr std::size_t IoBufferSize = 64 * 1024;

int codeOfErrno(int error, const std::string& path)
{
    switch (error) {
    case ENOENT: {
        const auto parent = std::filesystem::path(path).parent_path();
        std::error_code ec;
        if (!parent.empty() && !std::filesystem::exists(parent, ec))
            return Error::PathNotFound;
        return Error::FileNotFound;
    }
    case ENOTDIR:
        return Error::PathNotFound;
    case ENAMETOOLONG:
        return Error::BadFileName;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return Error::DiskFull;
    case EIO:
        return Error::DriverError;
    case ENOMEM:
        return Error::OutOfMemory;
    case EWOULDBLOCK:
        return Error::AccessDenied;
    default:
        return Error::AccessDenied;
    }
}

std::atomic<int64_t> g_failReadsFrom{-1};
std::atomic<int> g_failReadsErrno{EIO};

// A file or a device; not a folder, a pipe or a socket.
bool isFileLike(const struct stat& info)
{
    return S_ISREG(info.st_mode) || S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode);
}

int64_t modifiedNanoseconds(const struct stat& info)
{
    return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

// pread, failing as the test hook says.
ssize_t readAt(int fd, std::byte* into, std::size_t size, int64_t offset)
{
    const int64_t failFrom = g_failReadsFrom.load();
    if (failFrom >= 0 && offset + static_cast<int64_t>(size) > failFrom) {
        if (offset >= failFrom) {
            errno = g_failReadsErrno.load();
            return -1;
        }
        size = static_cast<std::size_t>(failFrom - offset);
    }
    return ::pread(fd, into, size, offset);
}

} // namespace

void ByteFile::failReadsFrom(int64_t byteOffset, int error)
{
    g_failReadsErrno = error;
    g_failReadsFrom = byteOffset;
}

bool ByteFile::unchangedSinceOpen() const
{
    struct stat info {};
    if (!isOpen() || ::fstat(m_fd, &info) != 0)
        return false;
    return info.st_size == m_sizeAtOpen && modifiedNanoseconds(info) == m_modifiedAtOpen;
}

ByteFile::ByteFile(std::size_t maxRecordSize)
    : m_record(std::max<std::size_t>(maxRecordSize, 1), std::byte{' '})
{
}

ByteFile::~ByteFile()
{
    if (isOpen())
        close();
}

void ByteFile::setDiskName(std::string name)
{
    m_diskName = std::move(name);
}

std::string_view ByteFile::recordView() const
{
    return {reinterpret_cast<const char*>(m_record.data()), m_recordLength};
}

void ByteFile::clearBuffer()
{
    std::fill(m_record.begin(), m_record.end(), std::byte{' '});
    m_recordLength = 0;
}

int ByteFile::fail(int code)
{
    setError(code, m_diskName);
    return code;
}

int ByteFile::create()
{
    if (isOpen())
        return fail(Error::FileAlreadyOpen);
    if (m_diskName.empty())
        return fail(Error::BadFileName);
    const std::string path = resolveFileName(m_diskName);
    // Emptied only under the lock: a reader that denies writing holds it shared.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(codeOfErrno(errno, path));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !isFileLike(info) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return fail(Error::AccessDenied);
    }
    if (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
        const int code = codeOfErrno(errno, path);
        ::close(fd);
        return fail(code);
    }
    ::close(fd);
    clearError();
    return Error::None;
}

int ByteFile::open(uint8_t mode)
{
    if (isOpen())
        return fail(Error::FileAlreadyOpen);
    if (m_diskName.empty())
        return fail(Error::BadFileName);
    const std::string path = resolveFileName(m_diskName);
    const bool writable = (mode & 0x0F) != 0;
    // Not blocking on a pipe that has no writer: a pipe is refused like a folder.
    const int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(codeOfErrno(errno, path));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !isFileLike(info)) {
        ::close(fd);
        return fail(Error::AccessDenied);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    // Denying others writing takes the file's lock exclusively when writing and shared when
    // reading; a writer that denies nothing still takes it shared, so it is refused while
    // another writer denies writing.
    const int deny = mode & 0xF0;
    const bool deniesWriting = deny == 0x10 || deny == 0x20;
    int lock = 0;
    if (deniesWriting)
        lock = writable ? LOCK_EX : LOCK_SH;
    else if (writable)
        lock = LOCK_SH;
    if (lock && ::flock(fd, lock | LOCK_NB) != 0) {
        ::close(fd);
        return fail(Error::AccessDenied);
    }

    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return fail(Error::AccessDenied);
    }

    m_fd = fd;
    m_sizeAtOpen = info.st_size;
    m_modifiedAtOpen = modifiedNanoseconds(info);
    m_writable = writable;
    m_writeError = 0;
    m_endOffset = info.st_size;
    m_writeBuffer.resize(IoBufferSize);
    m_writeUsed = 0;
    m_readBuffer.resize(std::max(IoBufferSize, m_record.size()));
    m_readUsed = m_readAt = 0;
    m_readOffset = 0;
    m_recordLength = 0;
    clearError();
    return Error::None;
}

int ByteFile::close()
{
    if (!isOpen())
        return fail(Error::FileNotOpen);
    int code = flushWrites();
    if (code == Error::None && m_writeError != 0)
        code = m_writeError;
    ::close(m_fd);
    m_fd = -1;
    m_writable = false;
    m_writeError = 0;
    m_writeBuffer = {};
    m_readBuffer = {};
    m_writeUsed = m_readUsed = m_readAt = 0;
    if (code != Error::None)
        return fail(code);
    clearError();
    return Error::None;
}

int ByteFile::flushWrites()
{
    std::size_t done = 0;
    while (done < m_writeUsed) {
        const ssize_t written = ::pwrite(m_fd, m_writeBuffer.data() + done, m_writeUsed - done,
                                         m_endOffset + static_cast<int64_t>(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A short write is a full disk too; what did not reach the file is dropped and the
            // failure stays reported by every later write and by close.
            const int code = written < 0 ? codeOfErrno(errno, m_diskName) : Error::DiskFull;
            m_writeError = code;
            m_endOffset += static_cast<int64_t>(done);
            m_writeUsed = 0;
            return m_writeError;
        }
        done += static_cast<std::size_t>(written);
    }
    m_endOffset += static_cast<int64_t>(done);
    m_writeUsed = 0;
    return Error::None;
}

int ByteFile::add()
{
    return add(1);
}

int ByteFile::add(std::string_view bytes)
{
    if (bytes.size() > m_record.size())
        return fail(Error::RecordNotAvailable);
    if (!bytes.empty())
        std::memcpy(m_record.data(), bytes.data(), bytes.size());
    return add(bytes.size());
}

int ByteFile::add(std::size_t length)
{
    if (!isOpen())
        return fail(Error::FileNotOpen);
    if (!m_writable)
        return fail(Error::AccessDenied);
    if (length > m_record.size())
        return fail(Error::RecordNotAvailable);
    if (m_writeError != 0)
        return fail(m_writeError);
    if (m_writeUsed + length > m_writeBuffer.size()) {
        if (const int code = flushWrites(); code != Error::None)
            return fail(code);
    }
    if (length > m_writeBuffer.size()) {
        m_writeBuffer.resize(length);
    }
    std::memcpy(m_writeBuffer.data() + m_writeUsed, m_record.data(), length);
    m_writeUsed += length;
    clearError();
    return Error::None;
}

int ByteFile::setToStart()
{
    if (!isOpen())
        return fail(Error::FileNotOpen);
    m_readUsed = m_readAt = 0;
    m_readOffset = 0;
    m_recordLength = 0;
    clearError();
    return Error::None;
}

int ByteFile::fillReadBuffer()
{
    // Bytes still in the write buffer are part of the file for a reader.
    if (m_writeUsed != 0) {
        if (const int code = flushWrites(); code != Error::None)
            return code;
    }
    const std::size_t kept = m_readUsed - m_readAt;
    if (kept != 0)
        std::memmove(m_readBuffer.data(), m_readBuffer.data() + m_readAt, kept);
    m_readUsed = kept;
    m_readAt = 0;
    while (m_readUsed < m_readBuffer.size()) {
        const ssize_t got = readAt(m_fd, m_readBuffer.data() + m_readUsed,
                                   m_readBuffer.size() - m_readUsed, m_readOffset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno == EIO ? Error::ReadError : codeOfErrno(errno, m_diskName);
        if (got == 0)
            break;
        m_readUsed += static_cast<std::size_t>(got);
        m_readOffset += got;
    }
    return Error::None;
}

int ByteFile::next()
{
    if (!isOpen())
        return fail(Error::FileNotOpen);
    const std::size_t want = m_record.size();
    if (m_readUsed - m_readAt < want) {
        if (const int code = fillReadBuffer(); code != Error::None)
            return fail(code);
    }
    const std::size_t length = std::min(want, m_readUsed - m_readAt);
    if (length == 0)
        return fail(Error::RecordNotAvailable);
    std::memcpy(m_record.data(), m_readBuffer.data() + m_readAt, length);
    m_readAt += length;
    m_recordLength = length;
    clearError();
    return Error::None;
}

int ByteFile::readBytes(std::byte* into, std::size_t size, std::size_t& got)
{
    got = 0;
    if (!isOpen())
        return Error::FileNotOpen;
    // Bytes already in the read buffer come first.
    const std::size_t buffered = std::min(size, m_readUsed - m_readAt);
    if (buffered != 0) {
        std::memcpy(into, m_readBuffer.data() + m_readAt, buffered);
        m_readAt += buffered;
        got = buffered;
        return Error::None;
    }
    // Bytes still in the write buffer are part of the file for a reader.
    if (m_writeUsed != 0) {
        if (const int code = flushWrites(); code != Error::None)
            return code;
    }
    for (;;) {
        const ssize_t read = readAt(m_fd, into, size, m_readOffset);
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return errno == EIO ? Error::ReadError : codeOfErrno(errno, m_diskName);
        got = static_cast<std::size_t>(read);
        m_readOffset += read;
        return Error::None;
    }
}

int64_t ByteFile::sizeOnDisk()
{
    const std::string path = resolveFileName(m_diskName);
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        fail(codeOfErrno(errno, path));
        return 0;
    }
    clearError();
    return info.st_size;
}

int64_t ByteFile::records()
{
    int64_t bytes = 0;
    if (isOpen()) {
        bytes = m_endOffset + static_cast<int64_t>(m_writeUsed);
        clearError();
    } else {
        bytes = sizeOnDisk();
    }
    const auto size = static_cast<int64_t>(m_record.size());
    return (bytes + size - 1) / size;
}

} // namespace platform::storage
