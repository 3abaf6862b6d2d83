#include "tests/support/RefusedThreads.h"

#include <atomic>
#include <cerrno>

#include <dlfcn.h>
#include <pthread.h>

namespace {

std::atomic<bool> g_refused{false};

using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);

} // namespace

// Defined in the test program, so it comes before the C library's for every caller; it hands
// over to that one unless threads are being refused.
extern "C" int pthread_create(pthread_t* __restrict thread, const pthread_attr_t* __restrict attr,
                              void* (*start)(void*), void* __restrict arg) noexcept
{
    if (g_refused.load())
        return EAGAIN;
    static const Create real = reinterpret_cast<Create>(::dlsym(RTLD_NEXT, "pthread_create"));
    return real(thread, attr, start, arg);
}

namespace testsupport {

RefusedThreads::RefusedThreads()
{
    g_refused.store(true);
}

RefusedThreads::~RefusedThreads()
{
    g_refused.store(false);
}

} // namespace testsupport
