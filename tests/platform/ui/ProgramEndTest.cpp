#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/TestDriver.h"

#include "RecordingController.h"
#include "WindowTestSupport.h"

#include <QDialog>
#include <QTimer>

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

// The program asked to close (a shutdown's signal, the frame's close box under a modal dialog)
// while a dialog of a window on its own thread waits in one of Qt's own dialogs: that one is
// cancelled as its close box would, nobody is asked anything after and nothing more opens, the
// frame gets its close request, the windows close newest first, and the end is an ordinary
// one: code 0, not the abort's end.
TEST_F(ProgramEndTest, CloseAskedUnderNestedDialogsClosesAsTheFramesCloseRequest)
{
    std::vector<std::string> closed;
    std::vector<std::string> released;
    bool qtDialogEnded = false;
    unsigned answer = 0;
    bool openedAfter = false;
    const auto noteClose = [&](const char* name) {
        return [&closed, name](RecordingController& self) {
            if (self.event() == Event::CloseDown || self.event() == Event::CloseWindow)
                closed.push_back(std::string(name) + " " +
                                 RecordingController::eventName(self.event()));
            return Level::Benign;
        };
    };
    RecordingController frame("sample", "P1$FRAME");
    frame.onKill = [&](RecordingController&) { released.push_back("frame"); };
    frame.onWindowEvent = noteClose("frame");
    frame.onAccepted = [&](RecordingController& self) {
        if (self.accepted() != -2)
            return Level::Benign;
        ThreadRegistry::start([&] {
            auto child = std::make_unique<RecordingController>("sample", "P1$CHILD");
            child->onKill = [&](RecordingController&) { released.push_back("child"); };
            child->onWindowEvent = noteClose("child");
            child->onAccepted = [&](RecordingController& window) {
                if (window.accepted() != 1)
                    return Level::Benign;
                RecordingController dialog("sample", "P1$WINDOW");
                dialog.onKill = [&](RecordingController&) { released.push_back("dialog"); };
                dialog.onWindowEvent = [&](RecordingController& d) {
                    noteClose("dialog")(d);
                    if (d.event() != Event::OpenWindow)
                        return Level::Benign;
                    QDialog own(d.window().topWidget());
                    own.setWindowModality(Qt::ApplicationModal);
                    QTimer::singleShot(100, &own, [] { closeProgram(); });
                    own.exec();
                    qtDialogEnded = true;
                    answer = message("?", {}, MessageIcon::Question, Button::Yes | Button::No);
                    return Level::Benign;
                };
                dialog.run();
                RecordingController another("sample", "P1$WINDOW");
                another.onInit = [&](RecordingController&) {
                    openedAfter = true;
                    return Level::Benign;
                };
                another.run();
                return Level::Benign;
            };
            return child;
        });
        return Level::Benign;
    };
    TestDriver driver;
    driver.waitOpen("Рамка").menu("Первый").waitOpen("Дочернее").press("?BUTTON1");
    driver.start([](const std::string&) {});
    frame.run();
    finishRemainingWindows();

    EXPECT_TRUE(qtDialogEnded);
    EXPECT_EQ(answer, Button::No) << "answered as its cancelling button would be";
    EXPECT_TRUE(driver.messages().empty());
    EXPECT_FALSE(openedAfter);
    EXPECT_EQ(closed, (std::vector<std::string>{"frame closewindow", "dialog closedown",
                                                "child closedown"}));
    ASSERT_EQ(released.size(), 3u);
    EXPECT_EQ(released.front(), "dialog");
    EXPECT_FALSE(programEnding()) << "the frame's own close, with all it does";
    EXPECT_EQ(programExitCode(), 0);
    EXPECT_EQ(ThreadRegistry::runningThreadCount(), 0);
    EXPECT_TRUE(ThreadRegistry::openWindows().empty());
}

} // namespace
