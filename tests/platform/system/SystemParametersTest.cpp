#include "platform/system/SystemParameters.h"

#include "tests/support/TempWorkFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

using namespace platform::system;

namespace {

class SystemParametersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("QUELB_SYSTEM_SETTINGS", path.c_str(), 1);
        resetSessionParameters();
    }
    void TearDown() override
    {
        unsetenv("QUELB_SYSTEM_SETTINGS");
        resetSessionParameters();
    }

    static int32_t dragFullWindows()
    {
        int32_t value = -1;
        EXPECT_TRUE(systemParametersInfo(Spi::GetDragFullWindows, 0, &value, 0));
        return value;
    }

    testsupport::TempWorkFolder folder;
    std::string path = (folder.path() / "profile" / "system.ini").string();
};

TEST_F(SystemParametersTest, SwitchedOffForARunAndRestoredThroughTheProfile)
{
    EXPECT_EQ(systemSettingsPath(), path);
    ASSERT_EQ(dragFullWindows(), 1); // on when never set
    ASSERT_TRUE(systemParametersInfo(Spi::SetDragFullWindows, 0, nullptr, 3));

    // Another process reads the profile: still off, as after a run that was killed.
    resetSessionParameters();
    EXPECT_EQ(dragFullWindows(), 0);

    ASSERT_TRUE(systemParametersInfo(Spi::SetDragFullWindows, 1, nullptr, 3));
    resetSessionParameters();
    EXPECT_EQ(dragFullWindows(), 1);
}

TEST_F(SystemParametersTest, WithoutTheProfileFlagTheChangeLastsForTheProcessOnly)
{
    ASSERT_TRUE(systemParametersInfo(Spi::SetDragFullWindows, 0, nullptr, 0));
    EXPECT_EQ(dragFullWindows(), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
    resetSessionParameters();
    EXPECT_EQ(dragFullWindows(), 1);
}

TEST_F(SystemParametersTest, FailuresChangeNothing)
{
    int32_t value = 7;
    EXPECT_FALSE(systemParametersInfo(0x1234, 0, &value, 0));
    EXPECT_EQ(value, 7);
    EXPECT_FALSE(systemParametersInfo(Spi::GetDragFullWindows, 0, nullptr, 0));

    std::filesystem::create_directories(path); // a folder where the profile should be
    EXPECT_FALSE(systemParametersInfo(Spi::SetDragFullWindows, 0, nullptr, 3));
    EXPECT_EQ(dragFullWindows(), 1);
}

} // namespace
