#pragma once

#include <sys/resource.h>

namespace testsupport {

// While it lives, no file of this process may grow past the given size: a full disk for every
// write that needs room. Writes past it fail (EFBIG) instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace testsupport
