#include "ProgramSession.h"

#include "app/startup/LocaleOverrides.h"
#include "platform/system/SystemParameters.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/Locale.h"
#include "platform/ui/WindowController.h"
#include "tests/support/TempWorkFolder.h"

#include <gtest/gtest.h>

using namespace platform::ui;
namespace sys = platform::system;
using platform::text::w;

namespace {

int32_t dragSetting()
{
    int32_t value = -1;
    sys::systemParametersInfo(sys::Spi::GetDragFullWindows, 0, &value, 0);
    return value;
}

// The profile as another program would find it: the process's own changes forgotten.
int32_t dragSettingInProfile()
{
    sys::resetSessionParameters();
    return dragSetting();
}

void setDragProfile(unsigned on)
{
    sys::resetSessionParameters();
    ASSERT_TRUE(sys::systemParametersInfo(sys::Spi::SetDragFullWindows, on, nullptr,
                                          sys::Spif::UpdateIniFile));
}

TEST(DragSetting, OnAtStartIsOffWhileRunningAndOnAfter)
{
    testsupport::TempWorkFolder folder;
    setDragProfile(1);
    TestDriver driver;
    int32_t whileRunning = -1;
    driver.waitOpen(e2e::FrameTitle)
        .call([&] { whileRunning = dragSettingInProfile(); })
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(whileRunning, 0);
    EXPECT_EQ(dragSettingInProfile(), 1);
}

TEST(DragSetting, OffAtStartIsLeftAlone)
{
    testsupport::TempWorkFolder folder;
    setDragProfile(0);
    const std::string profile = testsupport::readFileBytes(sys::systemSettingsPath());
    TestDriver driver;
    int32_t whileRunning = -1;
    driver.waitOpen(e2e::FrameTitle)
        .call([&] { whileRunning = dragSettingInProfile(); })
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(whileRunning, 0);
    EXPECT_EQ(dragSettingInProfile(), 0);
    EXPECT_EQ(testsupport::readFileBytes(sys::systemSettingsPath()), profile);
}

WindowDefinition entryWindow()
{
    WindowDefinition window;
    window.module = "test";
    window.label = "P1$WINDOW";
    window.kind = "dialog";
    window.title = w("Ввод");
    ControlDefinition entry;
    entry.number = 1;
    entry.label = "?ENTRY";
    entry.kind = "entry";
    entry.picture = "s20";
    window.controls.push_back(entry);
    ControlDefinition close;
    close.number = 2;
    close.label = "?CLOSE";
    close.kind = "button";
    close.text = "OK";
    close.action = "close";
    window.controls.push_back(close);
    return window;
}

// Records the alert keys its entry receives: the key code shows what the key was delivered as.
class AlertRecorder : public WindowController
{
public:
    AlertRecorder() : WindowController(entryWindowWithAlerts()) {}

    int takeFieldEvent() override
    {
        if (event() == Event::AlertKey)
            codes.push_back(keyCode());
        return WindowController::takeFieldEvent();
    }

    std::vector<int> codes;

private:
    static WindowDefinition entryWindowWithAlerts()
    {
        WindowDefinition window = entryWindow();
        window.controls[0].alertKeys = {0x243, 0x256, 0x258};
        return window;
    }
};

TEST(KeyAliases, AreDeliveredAsCtrlKeysToTheProgram)
{
    Locale::instance().reset();
    app::SetKeyAliases();
    AlertRecorder controller;
    TestDriver driver;
    driver.waitOpen("Ввод")
        .key("?ENTRY", "Shift+Insert")
        .key("?ENTRY", "Ctrl+Insert")
        .key("?ENTRY", "Shift+Delete")
        .key("?ENTRY", "Insert") // no alias
        .press("?CLOSE");
    driver.start([](const std::string& failure) { EXPECT_EQ(failure, ""); }, 10000);
    controller.run();
    Locale::instance().reset();
    EXPECT_EQ(controller.codes, (std::vector<int>{0x256, 0x243, 0x258}));
}

} // namespace

namespace {

TEST(MessageCaptions, YesAndNoAreRussianAfterTheLocaleOverrides)
{
    Locale::instance().reset();
    app::SetLocaleOverrides();
    TestDriver driver;
    driver.answerMessage(Button::No);
    const unsigned answer =
        message(w("Удалить?"), w("Вопрос"), MessageIcon::Question, Button::Yes | Button::No);
    const std::vector<ShownButton> shown = shownButtons(Button::Yes | Button::No);
    const std::vector<ShownButton> all = shownButtons(0xFF);
    Locale::instance().reset();

    EXPECT_EQ(answer, Button::No);
    ASSERT_EQ(driver.log().size(), 1u);
    EXPECT_NE(driver.log().front().find("[&Да,&Нет]"), std::string::npos) << driver.log().front();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].caption, w("&Да"));
    EXPECT_EQ(shown[1].caption, w("&Нет"));
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[3].caption, w("Пре&рвать"));
    EXPECT_EQ(all[7].caption, w("&Справка"));
}

} // namespace
