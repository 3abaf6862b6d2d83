#pragma once

#include <string>

// The files the program writes beside a target before they take its place are named after the
// target and the id of the process writing them ("<target>.new-<pid>"), so that what a killed
// process left behind can be told from what a running one is writing.
namespace platform::storage {

// The temporary name beside target for this process.
std::string temporaryBeside(const std::string& target);

// Removes from the folder the temporary files of that naming (and the journals SQLite kept
// beside them) whose process no longer runs. Called by every writer before it writes there.
void removeLeftovers(const std::string& folder);

} // namespace platform::storage
