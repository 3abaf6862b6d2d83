#pragma once

#include "platform/storage/Queue.h"

#include <cstdint>

namespace net {

// An entry of ErrorTextIndex: ERR:CODE and ERR:MESSAGE, the field number of that code's text
// in ErrorTextTable (not the text itself).
struct ErrorTextIndexEntry
{
    std::int32_t code = 0;
    std::int32_t message = 0;
};

// The program's one index over the error-text table, in ascending order of code; empty until
// the first HTTP client is initialised.
platform::storage::Queue<ErrorTextIndexEntry>& errorTextIndex();

} // namespace net
