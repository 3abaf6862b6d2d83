#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace app {

// The photo file of an item: the photo folder without trailing blanks, directly followed by the
// item code in decimal digits and ".jpg" (the folder carries its own trailing separator).
// Windows-1251 in, Windows-1251 out; the storage services resolve "\" and letter case.
std::string photoFileName(std::string_view folder, int32_t code);

} // namespace app
