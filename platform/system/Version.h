#pragma once

#include <cstdint>

// The system version as the program asks for it: the low byte is the major version, the next
// byte the minor version. The layer reports 6.1; tests set another to drive the version checks.
namespace platform::system {

uint32_t getVersion();

// Makes getVersion() report major.minor until resetReportedVersion().
void setReportedVersion(int major, int minor);
void resetReportedVersion();

} // namespace platform::system
