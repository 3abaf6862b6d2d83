#include "platform/system/Version.h"

namespace platform::system {
namespace {

constexpr int kMajor = 6;
constexpr int kMinor = 1;

struct Reported
{
    int major = kMajor;
    int minor = kMinor;
};

Reported& reported()
{
    static Reported value;
    return value;
}

} // namespace

uint32_t getVersion()
{
    return (static_cast<uint32_t>(reported().major) & 0xFF)
        | ((static_cast<uint32_t>(reported().minor) & 0xFF) << 8);
}

void setReportedVersion(int major, int minor)
{
    reported() = Reported{major, minor};
}

void resetReportedVersion()
{
    reported() = Reported{};
}

} // namespace platform::system
