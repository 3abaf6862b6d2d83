#pragma once

#include <QString>

#include <string_view>

namespace platform::automation {

// A file name a server is given in a path (Windows-1251, "\" allowed between folders) as the
// absolute path of the file on this system, found in its folder without regard to letter case:
// the servers take names as the rest of the program does. Empty for an empty name.
QString systemFileName(std::string_view name);

} // namespace platform::automation
