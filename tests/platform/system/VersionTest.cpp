#include "platform/system/Version.h"

#include <gtest/gtest.h>

using namespace platform::system;

namespace {

TEST(VersionTest, ReportsSixOneUnlessATestSetsAnother)
{
    EXPECT_EQ(getVersion() & 0xFFFF, 0x0106u); // low byte major, next byte minor
    setReportedVersion(6, 0);
    EXPECT_EQ(getVersion() & 0xFFFF, 0x0006u);
    setReportedVersion(5, 2);
    EXPECT_EQ(getVersion() & 0xFFFF, 0x0205u);
    resetReportedVersion();
    EXPECT_EQ(getVersion() & 0xFFFF, 0x0106u);
}

} // namespace
