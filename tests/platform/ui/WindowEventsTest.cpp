#include "platform/text/Cp1251.h"
#include "platform/text/FixedString.h"
#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/TestDriver.h"

#include "RecordingController.h"
#include "WindowTestSupport.h"

#include <QMdiSubWindow>
#include <QTimer>

#include <gtest/gtest.h>

using namespace platform::ui;
using platform::text::FixedString;
using uitest::RecordingController;

namespace {

class WindowEventsTest : public uitest::WindowTest
{
};

// The quantity dialog of the program in miniature: Enter in the quantity presses "Заказать",
// Esc "Отменить"; the result starts at 0.
class OrderDialog : public WindowController
{
public:
    OrderDialog() : WindowController("sample", "P1$WINDOW") {}

    int32_t code = 0;
    int32_t quantity = 1;
    int32_t result = 0;
    int eventThread = 0;

    int init() override
    {
        WindowController::init();
        window().bind("KOD", code);
        window().bind("KOL", quantity);
        window().open();
        window().select(3);
        return Level::Benign;
    }
    int takeAccepted() override
    {
        eventThread = platform::storage::currentThread();
        if (accepted() == 14) {
            result = quantity;
            window().post(Event::CloseWindow);
        } else if (accepted() == 15) {
            result = 0;
            window().post(Event::CloseWindow);
        }
        return WindowController::takeAccepted();
    }
    int takeFieldEvent() override
    {
        if (field() == 3 && event() == Event::AlertKey) {
            window().update(3);
            window().post(Event::Accepted, keyCode() == Key::Enter ? 14 : 15);
        }
        return WindowController::takeFieldEvent();
    }
};

int32_t order(int32_t code, TestDriver& driver, std::string* failure = nullptr)
{
    driver.start([failure](const std::string& result) {
        if (failure)
            *failure = result;
    });
    OrderDialog dialog;
    dialog.code = code;
    dialog.run();
    return dialog.result;
}

TEST_F(WindowEventsTest, ModalDialogReturnsWhatItsButtonsSet)
{
    {
        TestDriver driver;
        driver.waitOpen("Заказ товара").key("?KOL", "Enter");
        std::string failure;
        EXPECT_EQ(order(5, driver, &failure), 1) << "opens with quantity 1";
        EXPECT_EQ(failure, "");
    }
    {
        TestDriver driver;
        driver.waitOpen("Заказ товара").type("?KOL", "-3").press("?BUTTON1");
        EXPECT_EQ(order(5, driver), -3) << "a negative quantity comes back as typed";
    }
    {
        TestDriver driver;
        driver.waitOpen("Заказ товара").type("?KOL", "12").key("?KOL", "Esc");
        EXPECT_EQ(order(5, driver), 0);
    }
    {
        TestDriver driver;
        driver.waitOpen("Заказ товара").type("?KOL", "12").close();
        EXPECT_EQ(order(5, driver), 0) << "closed without a button";
    }
}

TEST_F(WindowEventsTest, EventsRunInTheWindowsThreadAndDialogsInTheCallers)
{
    int started = 0;
    int dialogThread = -1;
    RecordingController* child = nullptr;
    started = ThreadRegistry::start(
        [&] {
            auto controller = std::make_unique<RecordingController>("sample", "P1$CHILD");
            child = controller.get();
            controller->onAccepted = [&](RecordingController& self) {
                if (self.accepted() == 1) {
                    TestDriver driver;
                    driver.waitOpen("Заказ товара").key("?KOL", "Enter");
                    driver.start([](const std::string&) {});
                    OrderDialog dialog;
                    dialog.run();
                    dialogThread = dialog.eventThread;
                    self.note("dialog returned " + std::to_string(dialog.result));
                }
                return Level::Benign;
            };
            return controller;
        },
        30000);
    ASSERT_GT(started, 1);
    EXPECT_EQ(platform::storage::currentThread(), 1) << "the caller's thread is current again";
    EXPECT_EQ(ThreadRegistry::stackSize(started), 30000);
    ASSERT_NE(child, nullptr);
    const std::string at = " @" + std::to_string(started);
    EXPECT_EQ(child->log.at(0), "init" + at);
    EXPECT_TRUE(uitest::waitFor([&] { return child->logged("openwindow" + at); }));
    EXPECT_LT(child->indexOf("openhook" + at), child->indexOf("openwindow" + at));

    child->window().control(1)->press();
    ASSERT_TRUE(uitest::waitFor([&] { return child->logged("dialog returned 1" + at); }));
    EXPECT_EQ(dialogThread, started);
    EXPECT_TRUE(child->logged("accepted 1" + at));

    std::vector<int> ended;
    const int listener =
        platform::storage::addThreadEndListener([&](int thread) { ended.push_back(thread); });
    EXPECT_TRUE(ThreadRegistry::post(Event::CloseWindow, 0, started));
    ASSERT_TRUE(uitest::waitFor([&] { return !ThreadRegistry::isRunning(started); }));
    platform::storage::removeThreadEndListener(listener);
    EXPECT_EQ(ended, std::vector<int>{started});
}

TEST_F(WindowEventsTest, NothingStartsWhileAModalWindowIsOpen)
{
    int duringModal = -1;
    int second = 0;
    const int first = ThreadRegistry::start(
        [] { return std::make_unique<RecordingController>("sample", "P1$CHILD"); });
    {
        TestDriver driver;
        driver.waitOpen("Заказ товара")
            .call([&] {
                duringModal = ThreadRegistry::start(
                    [] { return std::make_unique<RecordingController>("sample", "P1$CHILD"); });
            })
            .key("?KOL", "Esc");
        order(1, driver);
    }
    second = ThreadRegistry::start(
        [] { return std::make_unique<RecordingController>("sample", "P1$CHILD"); });
    EXPECT_GT(first, 1);
    EXPECT_EQ(duringModal, 0);
    EXPECT_EQ(second, first + 1) << "numbers count on after a refused start";
    ThreadRegistry::post(Event::CloseWindow, 0, first);
    ThreadRegistry::post(Event::CloseWindow, 0, second);
    EXPECT_TRUE(uitest::waitFor([&] { return ThreadRegistry::openWindows().empty(); }));
}

TEST_F(WindowEventsTest, EventsWaitUntilInitHasFinished)
{
    RecordingController controller("sample", "P1$CHILD");
    controller.openInInit = false;
    controller.onInit = [](RecordingController& self) {
        self.window().open();
        self.window().select(2);
        self.note("init done");
        return Level::Benign;
    };
    controller.onWindowEvent = [](RecordingController& self) {
        if (self.event() == Event::OpenWindow)
            self.window().post(Event::CloseWindow);
        return Level::Benign;
    };
    controller.run();
    const std::vector<std::string> expected{"init @1",       "init done @1",  "openhook @1",
                                            "openwindow @1", "selected 2 @1", "closewindow @1",
                                            "kill @1"};
    EXPECT_EQ(controller.log, expected);
}

TEST_F(WindowEventsTest, InitRefusingToOpenSkipsTheLoopButReleaseRuns)
{
    RecordingController controller("sample", "P1$CHILD");
    controller.initLevel = Level::Fatal;
    controller.setResponse(Response::Completed);
    EXPECT_EQ(controller.run(), Response::Completed);
    EXPECT_EQ(LastResponse, Response::Completed);
    EXPECT_EQ(controller.log, (std::vector<std::string>{"init @1", "kill @1"}));

    bool killed = false;
    const int thread = ThreadRegistry::start([&] {
        auto refused = std::make_unique<RecordingController>("sample", "P1$CHILD");
        refused->initLevel = 3;
        refused->onKill = [&](RecordingController&) { killed = true; };
        return refused;
    });
    EXPECT_GT(thread, 1);
    EXPECT_TRUE(killed);
    EXPECT_FALSE(ThreadRegistry::isRunning(thread));
}

TEST_F(WindowEventsTest, CloseButtonCancelsAndCloseRequestCanBeRefused)
{
    RecordingController controller("sample", "P1$CHILD");
    controller.setCloseButton(1);
    int refusals = 1;
    controller.onWindowEvent = [&](RecordingController& self) {
        if (self.event() == Event::CloseWindow && refusals-- > 0)
            return Level::Notify;
        return Level::Benign;
    };
    TestDriver driver;
    driver.waitOpen("Дочернее").close().call([] {}).press("?BUTTON1");
    driver.start([](const std::string&) {});
    controller.setResponse(Response::Completed);
    EXPECT_EQ(controller.run(), Response::Cancelled);
    EXPECT_EQ(std::count(controller.log.begin(), controller.log.end(), "closewindow @1"), 2);
}

TEST_F(WindowEventsTest, StandardCloseActionClosesTheWindow)
{
    RecordingController controller("sample", "P1$CHILD");
    TestDriver driver;
    driver.waitOpen("Дочернее").press("?CLOSE");
    driver.start([](const std::string&) {});
    controller.run();
    EXPECT_TRUE(controller.logged("closewindow @1"));
}

TEST_F(WindowEventsTest, TimerTicksAtItsIntervalUntilSetToZero)
{
    RecordingController controller("sample", "P1$CHILD");
    int ticks = 0;
    controller.onWindowEvent = [&](RecordingController& self) {
        if (self.event() == Event::Timer && ++ticks == 3) {
            EXPECT_EQ(self.window().propertyNumber(0, Property::Timer), 5);
            self.window().setProperty(0, Property::Timer, 0LL);
            QTimer::singleShot(300, [&self] { self.window().post(Event::CloseWindow); });
        }
        return Level::Benign;
    };
    controller.run();
    EXPECT_EQ(ticks, 3) << "no tick after the timer was set to 0";
}

TEST_F(WindowEventsTest, HandlersRunBeforeTheControllerAndCanConsume)
{
    RecordingController controller("sample", "P1$CHILD");
    std::vector<int> handled;
    controller.window().addEventHandler(Event::AlertKey, [&](Window& window) {
        handled.push_back(window.keyCode());
        return window.keyCode() == (Key::Ctrl | 'Z') ? Level::Notify : Level::Benign;
    });
    std::vector<std::string> hooked;
    const int hook = Window::addOpenHook([&](Window& window) {
        hooked.push_back(window.definition().label);
        EXPECT_TRUE(window.isOpen());
    });
    TestDriver driver;
    driver.waitOpen("Дочернее").key("", "Ctrl+Z").press("?CLOSE");
    driver.start([](const std::string&) {});
    controller.run();
    Window::removeOpenHook(hook);
    EXPECT_EQ(handled, std::vector<int>{Key::Ctrl | 'Z'});
    EXPECT_FALSE(controller.logged("alertkey @1")) << "consumed by the handler";
    EXPECT_EQ(hooked, std::vector<std::string>{"P1$CHILD"});
}

TEST_F(WindowEventsTest, FailuresInHandlersAndStartsAreReportedNotFatal)
{
    RecordingController controller("sample", "P1$CHILD");
    controller.onAccepted = [](RecordingController& self) -> int {
        if (self.accepted() == 1)
            throw std::runtime_error("сбой");
        return Level::Benign;
    };
    TestDriver driver;
    driver.waitOpen("Дочернее").answerMessage(Button::Ok).press("?BUTTON1").close();
    std::string failure = "not run";
    driver.start([&](const std::string& result) { failure = result; });
    controller.run();
    EXPECT_EQ(failure, "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].caption, platform::text::w("Ошибка"));
    EXPECT_EQ(driver.messages()[0].text, platform::text::w("сбой"));

    driver.answerMessage(Button::Ok);
    ASSERT_EQ(driver.run(), "");
    const int badStart = ThreadRegistry::start(
        [] { return std::make_unique<RecordingController>("sample", "P1$NOSUCH"); });
    ASSERT_EQ(driver.messages().size(), 2u);
    EXPECT_NE(driver.messages()[1].text.find("P1$NOSUCH"), std::string::npos);
    EXPECT_GT(badStart, 1);
    EXPECT_FALSE(ThreadRegistry::isRunning(badStart));
}

TEST_F(WindowEventsTest, FrameHoldsStartedWindowsAsMdiChildrenAndClosesThemDown)
{
    RecordingController frame("sample", "P1$FRAME");
    RecordingController* child = nullptr;
    std::vector<std::string> childLog;
    int started = 0;
    frame.onAccepted = [&](RecordingController& self) {
        if (self.accepted() == -2) {
            started = ThreadRegistry::start([&] {
                auto controller = std::make_unique<RecordingController>("sample", "P1$CHILD");
                child = controller.get();
                controller->onKill = [&](RecordingController& c) { childLog = c.log; };
                return controller;
            });
            self.note("started " + std::to_string(started));
        }
        return Level::Benign;
    };
    TestDriver driver;
    driver.waitOpen("Рамка")
        .menu("Первый")
        .waitOpen("Дочернее")
        .call([&] {
            ASSERT_NE(child, nullptr);
            EXPECT_NE(qobject_cast<QMdiSubWindow*>(child->window().topWidget()), nullptr);
            EXPECT_GT(frame.window().propertyNumber(0, Property::ClientWidth), 0);
        })
        .menu("?EXIT");
    driver.start([](const std::string&) {});
    frame.run();
    const std::string at = " @" + std::to_string(started);
    EXPECT_TRUE(std::find(childLog.begin(), childLog.end(), "closedown" + at) != childLog.end());
    EXPECT_TRUE(std::find(childLog.begin(), childLog.end(), "kill" + at) != childLog.end());
    EXPECT_FALSE(ThreadRegistry::isRunning(started));
}

} // namespace
