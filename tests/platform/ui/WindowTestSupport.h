#pragma once

#include "platform/storage/LogicalThread.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowController.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>

namespace uitest {

inline std::filesystem::path testData()
{
    // Run by hand without the environment, the data is found beside this file.
    const char* env = std::getenv("QUELB_TEST_DATA");
    const std::filesystem::path data =
        env && *env ? std::filesystem::path(env)
                    : std::filesystem::path(__FILE__).parent_path() / "../../data";
    return data / "ui";
}

// Points the runtime at the test definitions and checks that no window outlives a test.
class WindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        platform::ui::setResourceFolder(testData());
        platform::storage::setCurrentThread(1);
    }
    void TearDown() override
    {
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        EXPECT_TRUE(platform::ui::ThreadRegistry::openWindows().empty())
            << "a window was left open";
        platform::ui::setResourceFolder({});
    }
};

// A state dump without the places of windows and controls (" at x,y size WxH").
inline std::string withoutPlaces(const std::string& dump)
{
    static const std::regex place(" at -?[0-9]+,-?[0-9]+ size [0-9]+x[0-9]+");
    return std::regex_replace(dump, place, "");
}

// Spins the event loop until the condition holds or the time runs out.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace uitest
