// The keyboard-layout guard on windows of the program: a request to change the layout reaches
// the focused control through the simulated layout of the offscreen platform, as a desktop's
// request reaches it on X11.
#include "ProgramSession.h"

#include "app/startup/KeyboardGuard.h"
#include "platform/automation/OleControl.h"
#include "platform/system/Version.h"
#include "platform/ui/Control.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"
#include "platform/ui/keyboard/SimulatedLayoutSource.h"
#include "tests/support/TempWorkFolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace app;
using namespace platform::ui;
using platform::ui::keyboard::SimulatedLayoutSource;

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(widget, &release);
}

// The order save window: an entry, buttons, a drop-down list, strings, a check box and two
// OLE containers.
class KeyboardGuardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::automation::OleControl::registerKind();
        RemoveKeyboardGuard();
        InstallKeyboardGuard();
        ASSERT_TRUE(KeyboardGuardInstalled());
        m_layout = keyboard::simulatedLayoutSource();
        ASSERT_NE(m_layout, nullptr);
        m_layout->requestGroup(0);
        m_window = std::make_unique<Window>(loadWindowDefinition("quelbarto$quelb014", "P1$WINDOW"));
        m_window->open();
        m_window->topWidget()->activateWindow();
        settle();
    }
    void TearDown() override
    {
        m_window->finish();
        m_window.reset();
        settle();
        RemoveKeyboardGuard();
    }

    Window& window() { return *m_window; }
    int number(const char* label) { return window().number(label); }
    Control& control(const char* label) { return *window().control(label); }
    void focus(const char* label)
    {
        window().select(number(label));
        settle();
        ASSERT_EQ(window().focus(), number(label));
    }
    void typeLetter(const char* label)
    {
        pressKey(control(label).widget(), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    }
    // The user (or the desktop) asks for the other layout; true when it changed.
    bool requestOtherLayout() { return m_layout->requestNextGroup(); }

    SimulatedLayoutSource* m_layout = nullptr;
    std::unique_ptr<Window> m_window;
};

TEST_F(KeyboardGuardTest, AKeyPressLetsExactlyOneRequestThrough)
{
    focus("?KOMMENT");
    EXPECT_FALSE(requestOtherLayout()) << "no key since the focus came";
    EXPECT_EQ(m_layout->group(), 0);

    typeLetter("?KOMMENT");
    EXPECT_TRUE(requestOtherLayout());
    EXPECT_EQ(m_layout->group(), 1);
    EXPECT_FALSE(requestOtherLayout()) << "a second request needs a new key press";
    EXPECT_EQ(m_layout->group(), 1);

    typeLetter("?KOMMENT");
    EXPECT_TRUE(requestOtherLayout());
    EXPECT_EQ(m_layout->group(), 0);
}

TEST_F(KeyboardGuardTest, AltShiftAndCtrlShiftAreAlikeAndALetterLetsEitherThrough)
{
    focus("?KOMMENT");
    QWidget* entry = control("?KOMMENT").widget();
    // Modifiers alone come as system keys, which are no key press of the guard's: right after
    // the focus came, neither chord changes the layout.
    pressKey(entry, Qt::Key_Alt, Qt::AltModifier);
    pressKey(entry, Qt::Key_Shift, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_FALSE(requestOtherLayout());
    EXPECT_EQ(KeyDownSeen, 0);
    pressKey(entry, Qt::Key_Control, Qt::ControlModifier);
    pressKey(entry, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(requestOtherLayout());
    EXPECT_EQ(KeyDownSeen, 0);
    EXPECT_EQ(m_layout->group(), 0);

    // Once a letter was typed, either chord switches.
    typeLetter("?KOMMENT");
    pressKey(entry, Qt::Key_Alt, Qt::AltModifier);
    pressKey(entry, Qt::Key_Shift, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_TRUE(requestOtherLayout());
    typeLetter("?KOMMENT");
    pressKey(entry, Qt::Key_Control, Qt::ControlModifier);
    pressKey(entry, Qt::Key_Shift, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(requestOtherLayout());
    EXPECT_EQ(m_layout->group(), 0);
}

TEST_F(KeyboardGuardTest, MovingTheFocusToAnotherGuardedControlClearsTheKey)
{
    focus("?KOMMENT");
    typeLetter("?KOMMENT");
    ASSERT_EQ(KeyDownSeen, 1);
    // The request a desktop sends as the focus moves is refused: the layout stays.
    focus("?BUTTON2");
    EXPECT_EQ(KeyDownSeen, 0);
    EXPECT_FALSE(requestOtherLayout());
    EXPECT_EQ(m_layout->group(), 0);

    // A key in the button counts as well.
    pressKey(control("?BUTTON2").widget(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_TRUE(requestOtherLayout());
}

TEST_F(KeyboardGuardTest, EveryGuardedKindGetsTheGuardOfItsType)
{
    EXPECT_EQ(control("?KOMMENT").procedure(), &KeyboardGuardWndProc<TypeCode::Entry>);
    EXPECT_EQ(control("?BUTTON1").procedure(), &KeyboardGuardWndProc<TypeCode::Button>);
    EXPECT_EQ(control("?FLGMAIL").procedure(), &KeyboardGuardWndProc<TypeCode::Check>);
    EXPECT_EQ(control("?SPR:NAME").procedure(), &KeyboardGuardWndProc<TypeCode::DropList>);
    // Strings, radios, groups and OLE containers keep the runtime's procedure.
    for (const char* label : {"?STRING2", "?OPTION1:RADIO1", "?GROUP1", "?SMEXCEL", "?SMOUTLOOK"})
        EXPECT_EQ(control(label).procedure(), &defaultWindowProcedure) << label;
    EXPECT_EQ(PreviousWndProc[TypeCode::Entry - 1], &defaultWindowProcedure);
    EXPECT_EQ(PreviousWndProc[TypeCode::Ole - 1], &defaultWindowProcedure);
}

TEST_F(KeyboardGuardTest, StringsNeverTouchTheKeyButAnOleContainerClearsIt)
{
    focus("?KOMMENT");
    typeLetter("?KOMMENT");
    window().raise(Event::Selected, number("?STRING2"));
    settle();
    EXPECT_EQ(KeyDownSeen, 1) << "a string leaves the key as it was";

    window().raise(Event::Selected, number("?SMEXCEL"));
    settle();
    EXPECT_EQ(KeyDownSeen, 0);
    EXPECT_EQ(control("?SMEXCEL").procedure(), &defaultWindowProcedure);
    focus("?KOMMENT");
    EXPECT_FALSE(requestOtherLayout()) << "after the OLE container a new key press is needed";
}

TEST_F(KeyboardGuardTest, ARequestWhereNoGuardedControlHasFocusIsTheRuntimesBusiness)
{
    focus("?KOMMENT");
    // Passed to the OLE container itself, the request goes to the runtime, which takes it.
    Control& container = control("?SMEXCEL");
    EXPECT_EQ(container.procedure()(&container, Message::InputLanguageChangeRequest, 0, 0), 1);
    Control& entry = control("?KOMMENT");
    EXPECT_EQ(entry.procedure()(&entry, Message::InputLanguageChangeRequest, 0, 0), 0);
}

TEST_F(KeyboardGuardTest, AControlWithAProcedureOfItsOwnIsLeftAlone)
{
    static int ownCalls = 0;
    ownCalls = 0;
    const WindowProcedure own = [](void* handle, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam) {
        ++ownCalls;
        return defaultWindowProcedure(handle, message, wParam, lParam);
    };
    Control& check = control("?FLGMAIL");
    check.setProcedure(own);
    window().raise(Event::Selected, number("?FLGMAIL"));
    settle();
    EXPECT_EQ(check.procedure(), own);
    // Guarding again changes nothing either.
    window().raise(Event::Selected, number("?KOMMENT"));
    window().raise(Event::Selected, number("?KOMMENT"));
    settle();
    EXPECT_EQ(control("?KOMMENT").procedure(), &KeyboardGuardWndProc<TypeCode::Entry>);
}

// The main program installs the guard only where the version qualifies; the settings window
// then shows whether its entry is guarded.
class KeyboardGuardInstallTest : public ::testing::TestWithParam<std::pair<int, int>>
{
protected:
    void SetUp() override { RemoveKeyboardGuard(); }
    void TearDown() override
    {
        platform::system::resetReportedVersion();
        RemoveKeyboardGuard();
    }
    testsupport::TempWorkFolder m_folder;
};

TEST_P(KeyboardGuardInstallTest, TheSettingsWindowIsGuardedOnlyFrom51)
{
    const auto [major, minor] = GetParam();
    platform::system::setReportedVersion(major, minor);
    const bool qualifies = (major == 5 || major == 6) && minor >= 1;
    SimulatedLayoutSource* layout = keyboard::simulatedLayoutSource();
    ASSERT_NE(layout, nullptr);
    layout->requestGroup(0);
    bool firstRequest = false;
    bool afterKey = false;
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Установки")
        .waitOpen("Установки")
        .call([&] { firstRequest = layout->requestNextGroup(); })
        .type("?REK:NAIM", "Ромашка")
        .call([&] { afterKey = layout->requestNextGroup(); })
        .press("?BUTTON2")
        .waitClose("Установки")
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(KeyboardGuardInstalled(), qualifies);
    EXPECT_EQ(firstRequest, !qualifies) << "a request before any key is refused only when guarded";
    EXPECT_TRUE(afterKey);
}

INSTANTIATE_TEST_SUITE_P(Versions, KeyboardGuardInstallTest,
                         ::testing::Values(std::pair{5, 1}, std::pair{6, 1}, std::pair{6, 0},
                                           std::pair{5, 0}));

// The row editor of both reference lists is made when "Добавить" is pressed, after the window
// opened: its key presses count for the guard like those of the window's own controls.
TEST_F(KeyboardGuardInstallTest, TheRowEditorsOfTheReferenceListsLetTheLayoutChangeAfterAKey)
{
    platform::system::setReportedVersion(5, 1);
    e2e::writeApplicabilityTypes({{"Легковые", 0}});
    e2e::writeManufacturers({{"Bosch", 0}});
    SimulatedLayoutSource* layout = keyboard::simulatedLayoutSource();
    ASSERT_NE(layout, nullptr);
    layout->requestGroup(0);
    auto typeIntoFocus = [] {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        pressKey(focus, Qt::Key_Q, Qt::NoModifier, QStringLiteral("q"));
    };
    struct Seen
    {
        bool beforeKey = true;
        bool afterKey = false;
        bool afterSecondKey = false;
        bool secondWithoutKey = true;
    };
    Seen seen[2];
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle);
    const char* lists[] = {"Справочник менеджеров", "Справочник применяемости"};
    for (int i = 0; i < 2; ++i) {
        Seen& s = seen[i];
        driver.menu(lists[i])
            .waitOpen(lists[i])
            .press("?INSERT:2")
            .call([&] { s.beforeKey = layout->requestNextGroup(); })
            .call(typeIntoFocus)
            .call([&] { s.afterKey = layout->requestNextGroup(); })
            .call([&] { s.secondWithoutKey = layout->requestNextGroup(); })
            .call(typeIntoFocus)
            .call([&] { s.afterSecondKey = layout->requestNextGroup(); })
            .key("?BROWSE:1", "Esc")
            .press("?CLOSE")
            .waitClose(lists[i]);
    }
    driver.menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(seen[i].beforeKey) << lists[i] << ": no key since the editor took the focus";
        EXPECT_TRUE(seen[i].afterKey) << lists[i];
        EXPECT_FALSE(seen[i].secondWithoutKey) << lists[i];
        EXPECT_TRUE(seen[i].afterSecondKey) << lists[i];
    }
}

} // namespace

namespace {

// The price-list window's prompts, beside its entries and lists.
TEST(KeyboardGuardPrompts, PromptsAreNeverGuardedAndLeaveTheKeyAlone)
{
    using namespace app;
    using namespace platform::ui;
    RemoveKeyboardGuard();
    InstallKeyboardGuard();
    Window window(loadWindowDefinition("quelbarto$quelb002", "P1$QUICKWINDOW"));
    window.open();
    settle();
    int prompts = 0;
    for (Control* control : window.controls()) {
        KeyDownSeen = 1;
        GuardControlKeyboardLayout(window, control->number());
        if (control->typeCode() == TypeCode::Prompt) {
            ++prompts;
            EXPECT_EQ(control->procedure(), &defaultWindowProcedure) << control->label();
            EXPECT_EQ(KeyDownSeen, 1) << control->label();
        }
        if (control->typeCode() == TypeCode::Entry) {
            EXPECT_EQ(control->procedure(), &KeyboardGuardWndProc<TypeCode::Entry>)
                << control->label();
        }
    }
    EXPECT_GT(prompts, 0);
    window.finish();
    RemoveKeyboardGuard();
}

} // namespace
