#pragma once

// While it lives, the system refuses every new thread of this process (pthread_create gives
// EAGAIN, as under a process limit), so std::thread throws std::system_error.
namespace testsupport {

class RefusedThreads
{
public:
    RefusedThreads();
    ~RefusedThreads();
    RefusedThreads(const RefusedThreads&) = delete;
    RefusedThreads& operator=(const RefusedThreads&) = delete;
};

} // namespace testsupport
