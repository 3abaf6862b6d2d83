#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/TestDriver.h"

#include "RecordingController.h"
#include "WindowTestSupport.h"

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
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

// A frame whose menu item "Первый" starts a window on its own thread; that window's button runs
// a dialog, and after it tries to run another. Each window's release and close events are noted.
class NestedDialogSession
{
public:
    // Runs in the dialog on its open event.
    std::function<void(RecordingController& dialog)> onDialogOpen;

    std::vector<std::string> released;
    std::vector<std::string> closed; // "<window> closewindow|closedown"
    bool continuedAfterDialog = false;
    bool openedAfterDialog = false;

    // The driver opens the window and presses its button after the commands given.
    void run(const std::function<void(TestDriver&)>& beforePress = {})
    {
        RecordingController frame("sample", "P1$FRAME");
        watch(frame, "frame");
        frame.onAccepted = [this](RecordingController& self) {
            if (self.accepted() == -2)
                ThreadRegistry::start([this] { return child(); });
            return Level::Benign;
        };
        TestDriver driver;
        driver.waitOpen("Рамка").menu("Первый").waitOpen("Дочернее");
        if (beforePress)
            beforePress(driver);
        driver.press("?BUTTON1");
        driver.start([](const std::string&) {});
        frame.run();
        finishRemainingWindows();
        m_messagesSeen = driver.messages().size();
    }
    std::size_t messagesSeen() const { return m_messagesSeen; }

private:
    void watch(RecordingController& window, const std::string& name)
    {
        window.onKill = [this, name](RecordingController&) { released.push_back(name); };
        window.onWindowEvent = [this, name](RecordingController& self) {
            if (self.event() == Event::CloseDown || self.event() == Event::CloseWindow)
                closed.push_back(name + " " + RecordingController::eventName(self.event()));
            if (name == "dialog" && self.event() == Event::OpenWindow && onDialogOpen)
                onDialogOpen(self);
            return Level::Benign;
        };
    }

    std::unique_ptr<WindowController> child()
    {
        auto window = std::make_unique<RecordingController>("sample", "P1$CHILD");
        watch(*window, "child");
        window->onAccepted = [this](RecordingController& self) {
            if (self.accepted() != 1)
                return Level::Benign;
            RecordingController dialog("sample", "P1$WINDOW");
            watch(dialog, "dialog");
            dialog.run();
            continuedAfterDialog = true;
            RecordingController another("sample", "P1$WINDOW");
            another.onInit = [this](RecordingController&) {
                openedAfterDialog = true;
                return Level::Benign;
            };
            another.run();
            return Level::Benign;
        };
        return window;
    }

    std::size_t m_messagesSeen = 0;
};

// The stop box answered "Прервать" inside a dialog of a window on its own thread: every window
// closes, the dialog first and the frame last, each with its release, and nothing opens after.
TEST_F(ProgramEndTest, AbortInsideADialogReleasesEveryWindowInOrder)
{
    NestedDialogSession session;
    session.onDialogOpen = [](RecordingController&) { stop("x"); };
    session.run([](TestDriver& driver) { driver.answerMessage(Button::Abort); });

    EXPECT_TRUE(programEnding());
    EXPECT_EQ(programExitCode(), 1);
    EXPECT_TRUE(session.continuedAfterDialog);
    // The handler runs on after the end was asked for: nothing more opens.
    EXPECT_FALSE(session.openedAfterDialog);
    EXPECT_EQ(session.released, (std::vector<std::string>{"dialog", "child", "frame"}));
    EXPECT_EQ(ThreadRegistry::runningThreadCount(), 0);
    EXPECT_TRUE(ThreadRegistry::openWindows().empty());
}

// The program asked to close (a shutdown's signal, the frame's close box under a modal dialog)
// while a dialog of a window on its own thread waits in one of Qt's own dialogs: that one is
// cancelled as its close box would, nobody is asked anything after and nothing more opens, the
// frame gets its close request, the windows close newest first (the window whose handler waits
// for the dialog gets its close-down once the handler returns), and the end is an ordinary one:
// code 0, not the abort's end.
TEST_F(ProgramEndTest, CloseAskedUnderNestedDialogsClosesAsTheFramesCloseRequest)
{
    bool qtDialogEnded = false;
    unsigned answer = 0;
    NestedDialogSession session;
    session.onDialogOpen = [&](RecordingController& dialog) {
        QDialog own(dialog.window().topWidget());
        own.setWindowModality(Qt::ApplicationModal);
        QTimer::singleShot(100, &own, [] { closeProgram(); });
        own.exec();
        qtDialogEnded = true;
        answer = message("?", {}, MessageIcon::Question, Button::Yes | Button::No);
    };
    session.run();

    EXPECT_TRUE(qtDialogEnded);
    EXPECT_EQ(answer, Button::No) << "answered as its cancelling button would be";
    EXPECT_EQ(session.messagesSeen(), 0u);
    EXPECT_TRUE(session.continuedAfterDialog);
    EXPECT_FALSE(session.openedAfterDialog);
    EXPECT_EQ(session.closed, (std::vector<std::string>{"frame closewindow", "dialog closedown",
                                                        "child closedown"}));
    ASSERT_EQ(session.released.size(), 3u);
    EXPECT_EQ(session.released.front(), "dialog");
    EXPECT_FALSE(programEnding()) << "the frame's own close, with all it does";
    EXPECT_EQ(programExitCode(), 0);
    EXPECT_EQ(ThreadRegistry::runningThreadCount(), 0);
    EXPECT_TRUE(ThreadRegistry::openWindows().empty());
}

} // namespace
