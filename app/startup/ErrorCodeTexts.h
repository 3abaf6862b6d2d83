#pragma once

#include <span>
#include <utility>

namespace app {

// The Russian texts of the platform's error codes, in the order the program sets them (UTF-8).
std::span<const std::pair<int, const char*>> ErrorCodeTexts();

} // namespace app
