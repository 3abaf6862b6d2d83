#pragma once

#include <cstdint>

// The thread's last-error value of the Windows calls this layer stands in for: each logical
// thread (platform::storage::currentThread()) keeps its own, so a window's error is not
// overwritten by another window's call.
namespace platform::system {

std::uint32_t GetLastError();
void SetLastError(std::uint32_t code);

} // namespace platform::system
