#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/TestDriver.h"

#include "RecordingController.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace platform::ui;
using uitest::RecordingController;

namespace {

class ProgramEndTest : public uitest::WindowTest
{
protected:
    void TearDown() override
    {
        resetProgramEnd();
        WindowTest::TearDown();
    }
};

// The stop box answered "Прервать" inside a dialog of a window on its own thread: every window
// closes, the dialog first and the frame last, each with its release, and nothing opens after.
TEST_F(ProgramEndTest, AbortInsideADialogReleasesEveryWindowInOrder)
{
    std::vector<std::string> released;
    bool openedAfterAbort = true;
    bool continuedAfterDialog = false;
    RecordingController frame("sample", "P1$FRAME");
    frame.onKill = [&](RecordingController&) { released.push_back("frame"); };
    frame.onAccepted = [&](RecordingController& self) {
        if (self.accepted() != -2)
            return Level::Benign;
        ThreadRegistry::start([&] {
            auto child = std::make_unique<RecordingController>("sample", "P1$CHILD");
            child->onKill = [&](RecordingController&) { released.push_back("child"); };
            child->onAccepted = [&](RecordingController& window) {
                if (window.accepted() != 1)
                    return Level::Benign;
                RecordingController dialog("sample", "P1$WINDOW");
                dialog.onKill = [&](RecordingController&) { released.push_back("dialog"); };
                dialog.onWindowEvent = [&](RecordingController& d) {
                    if (d.event() == Event::OpenWindow)
                        stop("x");
                    return Level::Benign;
                };
                dialog.run();
                continuedAfterDialog = true;
                // The handler runs on after the end was asked for: nothing more opens.
                RecordingController another("sample", "P1$WINDOW");
                another.onInit = [&](RecordingController&) {
                    openedAfterAbort = true;
                    return Level::Benign;
                };
                openedAfterAbort = false;
                another.run();
                return Level::Benign;
            };
            return child;
        });
        return Level::Benign;
    };
    TestDriver driver;
    driver.waitOpen("Рамка")
        .menu("Первый")
        .waitOpen("Дочернее")
        .answerMessage(Button::Abort)
        .press("?BUTTON1");
    driver.start([](const std::string&) {});
    frame.run();
    finishRemainingWindows();

    EXPECT_TRUE(programEnding());
    EXPECT_EQ(programExitCode(), 1);
    EXPECT_TRUE(continuedAfterDialog);
    EXPECT_FALSE(openedAfterAbort);
    EXPECT_EQ(released, (std::vector<std::string>{"dialog", "child", "frame"}));
    EXPECT_EQ(ThreadRegistry::runningThreadCount(), 0);
    EXPECT_TRUE(ThreadRegistry::openWindows().empty());
}

} // namespace
