#include "platform/ui/TestDriver.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Locale.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/ScriptReplay.h"
#include "platform/ui/StateDump.h"
#include "platform/ui/TestScript.h"
#include "platform/ui/ThreadRegistry.h"

#include "tests/support/TempWorkFolder.h"

#include "RecordingController.h"
#include "WindowTestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace platform::ui;
using platform::text::w;
using uitest::RecordingController;

namespace {

class TestDriverTest : public uitest::WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        Locale& locale = Locale::instance();
        locale.setEntry(LocaleEntry::ButtonCaptions,
                        w("&OK,&Да,&Нет,Пре&рвать,&Повторить,&Игнорировать,&Отменить,&Справка"));
        locale.addKeyAlias(0x22D, 0x243); // Ctrl+Insert as Ctrl+C
        locale.addKeyAlias(0x12D, 0x256); // Shift+Insert as Ctrl+V
        locale.addKeyAlias(0x12E, 0x258); // Shift+Delete as Ctrl+X
    }
    void TearDown() override
    {
        Locale::instance().reset();
        WindowTest::TearDown();
    }
};

// A dialog whose first button asks a yes/no question and keeps the answer.
class AskingWindow : public RecordingController
{
public:
    AskingWindow() : RecordingController("sample", "P1$CHILD")
    {
        onAccepted = [this](RecordingController&) {
            if (accepted() == 1)
                answer = message(w("Удалить?"), w("Сообщение"), MessageIcon::Question,
                                 Button::Yes | Button::No, Button::No);
            return Level::Benign;
        };
    }
    unsigned answer = 0;
};

TEST_F(TestDriverTest, MessageBoxesShowTheLocaleCaptionsAndTakeQueuedAnswers)
{
    AskingWindow window;
    TestDriver driver;
    driver.waitOpen("Дочернее")
        .answerMessage(Button::Yes)
        .press("?BUTTON1")
        .call([&] { EXPECT_EQ(window.answer, Button::Yes); })
        .answerMessage(Button::No)
        .press("?BUTTON1")
        .close();
    driver.start([](const std::string& result) { EXPECT_EQ(result, ""); });
    window.run();
    EXPECT_EQ(window.answer, Button::No);
    ASSERT_EQ(driver.messages().size(), 2u);
    EXPECT_EQ(driver.messages()[0].caption, w("Сообщение"));
    ASSERT_GE(driver.log().size(), 1u);
    EXPECT_EQ(driver.log()[0], "message \"Сообщение\" \"Удалить?\" [&Да,&Нет] -> Yes");
    const std::vector<ShownButton> shown = shownButtons(Button::Yes | Button::No);
    EXPECT_EQ(shown[0].caption, w("&Да"));
    EXPECT_EQ(shown[1].caption, w("&Нет"));
    EXPECT_EQ(shownButtons(0)[0].caption, "&OK") << "no buttons given: one default button";
}

TEST_F(TestDriverTest, AnUnexpectedMessageBoxFailsTheRunAndClosesItsDialogs)
{
    AskingWindow window;
    TestDriver driver;
    driver.waitOpen("Дочернее").press("?BUTTON1").waitClose("Дочернее", 20000);
    std::string failure;
    driver.start([&](const std::string& result) { failure = result; });
    window.run();
    EXPECT_EQ(failure, "unexpected message box: Удалить?");
    EXPECT_EQ(window.answer, Button::No) << "answered with the last button";
}

TEST_F(TestDriverTest, StopBoxReturnsOnIgnoreAndEndsTheProgramOnAbort)
{
    TestDriver driver;
    driver.answerMessage(Button::Ignore);
    EXPECT_EQ(driver.run(), "");
    stop(w("Файл не найден"));
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].buttons, Button::Abort | Button::Ignore);
    EXPECT_FALSE(programEnding());

    // Abort asks the program to end in order with code 1; nothing is shown or opened after it.
    TestDriver aborting;
    aborting.answerMessage(Button::Abort);
    aborting.run();
    stop("x");
    EXPECT_TRUE(programEnding());
    EXPECT_EQ(programExitCode(), EXIT_FAILURE);
    EXPECT_EQ(message(w("Удалить?"), {}, MessageIcon::Question, Button::Yes | Button::No),
              Button::No);
    EXPECT_EQ(aborting.messages().size(), 1u) << "no box while the program ends";
    stop("y");
    EXPECT_EQ(programExitCode(), EXIT_FAILURE);
    resetProgramEnd();
}

TEST_F(TestDriverTest, KeyAliasesCopyPasteAndCutInAnEntry)
{
    Window window(loadWindowDefinition("sample", "P1$WINDOW"));
    window.open();
    auto* edit = static_cast<QLineEdit*>(window.control(4)->widget());
    QGuiApplication::clipboard()->setText(QStringLiteral("вставка"));
    TestDriver driver;
    driver
        .call([&] {
            edit->setFocus();
            edit->clear();
        })
        .key("?NAME", "Shift+Insert")
        .call([&] {
            EXPECT_EQ(edit->text(), QStringLiteral("вставка"));
            edit->setSelection(0, 3);
            QGuiApplication::clipboard()->clear();
        })
        .key("?NAME", "Ctrl+Insert")
        .call([&] {
            EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("вст"));
            EXPECT_EQ(edit->text(), QStringLiteral("вставка"));
            edit->setSelection(3, 4);
        })
        .key("?NAME", "Shift+Delete")
        .call([&] {
            EXPECT_EQ(edit->text(), QStringLiteral("вст"));
            EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("авка"));
        });
    EXPECT_EQ(driver.run(), "");
    window.finish();
}

TEST_F(TestDriverTest, AliasesAreMappedBeforeAlertKeysAndOnlyOnce)
{
    Locale::instance().addKeyAlias(0x71, 0x25A);  // F2 delivered as Ctrl+Z, the window's alert key
    Locale::instance().addKeyAlias(0x25A, 0x258); // not followed further
    RecordingController window("sample", "P1$CHILD");
    std::vector<int> keys;
    window.window().addEventHandler(Event::AlertKey, [&](Window& w) {
        keys.push_back(w.keyCode());
        return Level::Benign;
    });
    TestDriver driver;
    driver.waitOpen("Дочернее").key("?BUTTON1", "F2").close();
    driver.start([](const std::string&) {});
    window.run();
    EXPECT_EQ(keys, std::vector<int>{0x25A});
    EXPECT_TRUE(window.logged("alertkey @1"));
}

TEST_F(TestDriverTest, StateDumpListsWindowsAndControls)
{
    RecordingController window("sample", "P1$CHILD");
    std::string dump;
    std::string first;
    std::string second;
    TestDriver driver;
    driver.waitOpen("Дочернее")
        .call([&] {
            window.window().disable(2);
            const auto place = [](const QRect& r) {
                return "at " + std::to_string(r.x()) + "," + std::to_string(r.y()) + " size " +
                       std::to_string(r.width()) + "x" + std::to_string(r.height());
            };
            first = place(window.window().control(1)->widget()->geometry());
            second = place(window.window().control(2)->widget()->geometry());
        })
        .dump([&](const std::string& text) { dump = text; })
        .close();
    driver.start([](const std::string&) {});
    window.run();
    EXPECT_EQ(uitest::withoutPlaces(dump), "window \"Дочернее\" P1$CHILD thread 1 modal\n"
                                           "  1 ?BUTTON1 button \"Кнопка\" focus\n"
                                           "  2 ?CLOSE button \"Закрыть\" disabled\n");
    EXPECT_NE(dump.find("  1 ?BUTTON1 button " + first + " \"Кнопка\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("  2 ?CLOSE button " + second + " \"Закрыть\""), std::string::npos) << dump;
    EXPECT_EQ(stateDump(), "") << "nothing open any more";
}

TEST_F(TestDriverTest, CommandsThatCannotBeCarriedOutSayWhy)
{
    {
        TestDriver driver;
        driver.press("?BUTTON1");
        EXPECT_EQ(driver.run(), "press ?BUTTON1: no control ?BUTTON1 in the top window");
    }
    {
        TestDriver driver;
        driver.waitOpen("Нет такого", 50);
        EXPECT_EQ(driver.run(), "wait open \"Нет такого\": time ran out");
    }
    RecordingController window("sample", "P1$CHILD");
    TestDriver driver;
    std::string failure;
    driver.waitOpen("Дочернее").call([&] { window.window().disable(1); }).press("?BUTTON1");
    driver.start([&](const std::string& result) { failure = result; });
    window.run();
    EXPECT_EQ(failure, "press ?BUTTON1: control ?BUTTON1 is disabled or hidden");
}

TEST_F(TestDriverTest, PressClicksOnlyWhatAPersonCouldReach)
{
    const auto pressIn = [](const char* control) {
        RecordingController window("sample", "P1$REACH");
        TestDriver driver;
        driver.waitOpen("Досягаемость").press(control);
        std::string failure = "not run";
        driver.start([&](const std::string& result) { failure = result; });
        window.run();
        return failure;
    };
    EXPECT_EQ(pressIn("?UNDER"), "press ?UNDER: ?UNDER is covered by ?OVER of \"Досягаемость\"");
    EXPECT_EQ(pressIn("?AWAY"), "press ?AWAY: ?AWAY lies outside its window");
    // The click reaches the button: its standard action closes the window.
    EXPECT_EQ(pressIn("?OK"), "");
}

TEST_F(TestDriverTest, TabsArePressedByClickingThem)
{
    RecordingController window("sample", "P1$WINDOW");
    int tabAfterClick = 0;
    std::string inSecond;
    TestDriver driver;
    driver.waitOpen("Заказ товара")
        .press("?TAB2")
        .call([&] {
            tabAfterClick = window.window().currentTab(window.window().number("?SHEET"));
            inSecond = uitest::withoutPlaces(stateDump());
        })
        .press("?TAB1")
        .close();
    driver.start([](const std::string& result) { EXPECT_EQ(result, ""); });
    window.run();
    EXPECT_EQ(tabAfterClick, 2);
    EXPECT_NE(inSecond.find("?IN2 string \"на второй\"\n"), std::string::npos) << inSecond;
    EXPECT_NE(inSecond.find("?IN1 string \"на первой\" hidden"), std::string::npos) << inSecond;
    EXPECT_TRUE(window.logged("newselection 9 @1"));
}

TEST_F(TestDriverTest, WaitIdleOutlastsAWindowThatWorksOnItsTimerTicks)
{
    // The window shows it is at work on its first timer tick and closes on its second, with a
    // quiet tick interval between: a wait for idle must not end in that interval.
    RecordingController window("sample", "P1$CHILD");
    int ticks = 0;
    window.onWindowEvent = [&](RecordingController& self) {
        if (self.event() == Event::Timer && ++ticks == 1)
            self.window().control(1)->setText(w("Работаю"));
        else if (self.event() == Event::Timer && ticks == 2)
            self.window().post(Event::CloseWindow);
        return Level::Benign;
    };
    std::size_t openAfterIdle = 99;
    TestDriver driver;
    driver.waitOpen("Дочернее").waitIdle(3000).call([&] {
        openAfterIdle = ThreadRegistry::openWindows().size();
    });
    std::string failure = "not run";
    driver.start([&](const std::string& result) { failure = result; });
    window.run();
    ASSERT_TRUE(uitest::waitFor([&] { return failure != "not run"; }));
    EXPECT_EQ(failure, "");
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(openAfterIdle, 0u);
}

TEST_F(TestDriverTest, FileAndFolderDialogsTakeQueuedAnswers)
{
    EXPECT_EQ(qtFilterOf(w("Текст|*.txt|Все файлы|*.*")), w("Текст (*.txt);;Все файлы (*.*)"));
    EXPECT_EQ(qtFilterOf("Books|*.xls;*.xlsx"), "Books (*.xls *.xlsx)");
    const QString before = QDir::currentPath();
    TestDriver driver;
    driver.answerFile("/tmp/заказ.txt").answerFile(std::nullopt).answerFolder("/tmp");
    ASSERT_EQ(driver.run(), "");
    std::string name = "start.txt";
    EXPECT_TRUE(fileDialog(w("Сохранить"), name, "Text|*.txt",
                           FileOption::Save | FileOption::KeepDirectory));
    EXPECT_EQ(name, w("/tmp/заказ.txt"));
    EXPECT_EQ(QDir::currentPath(), before);
    platform::text::FixedString<40> kept("start.txt");
    EXPECT_FALSE(fileDialog(w("Открыть"), kept, "Text|*.txt"));
    EXPECT_EQ(kept.str(), "start.txt") << "a cancelled dialog leaves the name";
    std::string folder = "/";
    EXPECT_TRUE(folderDialog(w("Папка"), folder));
    EXPECT_EQ(folder, "/tmp");
    const std::vector<std::string> expected{"file dialog \"Сохранить\" -> /tmp/заказ.txt",
                                            "file dialog \"Открыть\" -> cancel",
                                            "folder dialog \"Папка\" -> /tmp"};
    EXPECT_EQ(driver.log(), expected);
}

// A name the code page cannot write would be mangled into another name ("?"): every file and
// folder choice refuses it at once, saying which letters cannot be used (each once, whatever
// its case), as if the dialog had been cancelled. Letters the code page has pass.
TEST_F(TestDriverTest, NamesWithLettersOutsideTheCodePageAreRefusedNamingThem)
{
    const std::string refusal =
        "Имя файла содержит символы, которые программа не может использовать: ";
    TestDriver driver;
    driver.answerFile("/tmp/out-Қазақ-Café/quelbit.txt")
        .answerFolder("/tmp/Ørsted/фото-😀")
        .answerFile("/tmp/Заказ №5 «Ёлка» €.txt")
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok);
    ASSERT_EQ(driver.run(), "");
    std::string name = "start.txt";
    EXPECT_FALSE(fileDialog(w("Открыть"), name, "Text|*.txt", FileOption::KeepDirectory));
    EXPECT_EQ(name, "start.txt");
    platform::text::FixedString<40> folder("/tmp/photos/");
    EXPECT_FALSE(folderDialog(w("Папка"), folder));
    EXPECT_EQ(folder.str(), "/tmp/photos/");
    EXPECT_TRUE(fileDialog(w("Сохранить"), name, "Text|*.txt",
                           FileOption::Save | FileOption::KeepDirectory));
    EXPECT_EQ(name, w("/tmp/Заказ №5 «Ёлка» €.txt"));
    ASSERT_EQ(driver.messages().size(), 2u);
    EXPECT_EQ(shownText(driver.messages()[0]), refusal + "Қ, é");
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
    EXPECT_EQ(shownText(driver.messages()[1]), refusal + "Ø, 😀");
}

TEST_F(TestDriverTest, ChoosingAFileWithoutKeepDirectoryMovesTheWorkingFolder)
{
    const QString before = QDir::currentPath();
    TestDriver driver;
    driver.answerFile("/tmp/x.txt");
    ASSERT_EQ(driver.run(), "");
    std::string name;
    EXPECT_TRUE(fileDialog("t", name, ""));
    EXPECT_EQ(QDir::currentPath(), QStringLiteral("/tmp"));
    QDir::setCurrent(before);
}

// The quantity dialog, run by a script file as a session would be.
class ScriptedDialog : public RecordingController
{
public:
    ScriptedDialog() : RecordingController("sample", "P1$WINDOW")
    {
        onInit = [this](RecordingController&) {
            window().bind("KOL", quantity);
            return Level::Benign;
        };
        onAccepted = [this](RecordingController&) {
            if (accepted() == 14) {
                confirmed =
                    message(w("Заказать?"), {}, MessageIcon::Question, Button::Yes | Button::No);
                window().post(Event::CloseWindow);
            }
            return Level::Benign;
        };
    }
    int32_t quantity = 1;
    unsigned confirmed = 0;
};

TEST_F(TestDriverTest, ScriptFileIsReplayedAgainstTheWindows)
{
    TestDriver driver;
    std::string dumps;
    TestScript::load(uitest::testData() / "scripts" / "order.txt", driver,
                     [&](const std::string& dump) { dumps += dump; });
    std::string failure = "not run";
    driver.start([&](const std::string& result) { failure = result; });
    ScriptedDialog dialog;
    dialog.run();
    ASSERT_TRUE(uitest::waitFor([&] { return failure != "not run"; }));
    EXPECT_EQ(failure, "");
    EXPECT_EQ(dialog.quantity, 7);
    EXPECT_EQ(dialog.confirmed, Button::Yes);
    const std::string shown = uitest::withoutPlaces(dumps);
    EXPECT_NE(shown.find("window \"Заказ товара\" P1$WINDOW thread 1 modal\n"), std::string::npos)
        << dumps;
    EXPECT_NE(shown.find("  3 ?KOL entry \"7\" focus\n"), std::string::npos) << dumps;
    EXPECT_NE(shown.find("  13 ?IN2 string \"на второй\" hidden\n"), std::string::npos) << dumps;
}

TEST_F(TestDriverTest, ScriptNamedByTheEnvironmentIsReplayedIntoTheOutputFile)
{
    const std::string output = (std::filesystem::temp_directory_path() /
                                ("uicore-replay-" + std::to_string(::getpid()) + ".txt"))
                                   .string();
    std::filesystem::remove(output);
    const std::string script = (uitest::testData() / "scripts" / "order.txt").string();
    // In a child process: the replaying driver stays for the rest of the program.
    EXPECT_EXIT(
        {
            ::setenv("QUELB_SCRIPT", script.c_str(), 1);
            ::setenv("QUELB_SCRIPT_OUTPUT", output.c_str(), 1);
            ScriptReplay::startFromEnvironment();
            ScriptedDialog dialog;
            dialog.run();
            uitest::waitFor([] { return false; }, 100);
            std::exit(dialog.quantity == 7 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    const std::string written = testsupport::readFileBytes(output);
    std::filesystem::remove(output);
    EXPECT_NE(uitest::withoutPlaces(written).find("  3 ?KOL entry \"7\" focus\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("message \"\" \"Заказать?\" [&Да,&Нет] -> Yes\n"), std::string::npos)
        << written;
    EXPECT_NE(written.find("script done\n"), std::string::npos) << written;

    const std::string broken = (uitest::testData() / "scripts" / "broken.txt").string();
    EXPECT_EXIT(
        {
            ::setenv("QUELB_SCRIPT", broken.c_str(), 1);
            ::unsetenv("QUELB_SCRIPT_OUTPUT");
            ScriptReplay::startFromEnvironment();
            ScriptedDialog dialog;
            dialog.run();
            // The failed script closed the dialog and asked the program to end with its code.
            std::exit(programEnding() ? programExitCode() : 0);
        },
        testing::ExitedWithCode(2), "");
}

TEST_F(TestDriverTest, BadScriptLinesAreNamed)
{
    TestDriver driver;
    auto parse = [&](const char* script) -> std::string {
        try {
            TestScript::parse(script, "s.txt", driver, [](const std::string&) {});
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "";
    };
    EXPECT_EQ(parse("press ?A\n\n  # note\njump ?B\n"), "s.txt:4: unknown command \"jump\"");
    EXPECT_EQ(parse("type ?A \"open"), "s.txt:1: a quoted text is not closed");
    EXPECT_EQ(parse("answer message Maybe"), "s.txt:1: \"Maybe\" is not a message-box button");
    EXPECT_EQ(parse("press"), "s.txt:1: \"press\" takes 1 argument(s)");
    EXPECT_EQ(parse("wait open \"T\" soon"), "s.txt:1: \"soon\" is not a number");
    EXPECT_EQ(parse("drag border ?LIST 2 wide"), "s.txt:1: \"wide\" is not a number");
    EXPECT_EQ(parse("answer message 16\nanswer file cancel\nkey Enter\ndrag border ?LIST 2 -30\n"),
              "");
}

} // namespace
