#pragma once

#include <cstdio>
#include <cstdlib>

// A property a reader promises: when it does not hold, the input is reported as a crash so that
// the fuzzer keeps it.
namespace fuzzsupport {

inline void require(bool holds, const char* promise)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

} // namespace fuzzsupport
