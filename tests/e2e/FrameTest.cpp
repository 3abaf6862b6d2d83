#include "ProgramSession.h"

#include "app/frame/FrameGlobals.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/HelpService.h"
#include "platform/ui/HelpWindow.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/Property.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include <QApplication>
#include <QPrintDialog>
#include <QScreen>
#include <QTimer>
#include <QMdiSubWindow>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

using namespace platform::ui;
using platform::text::toQString;
using platform::text::w;

namespace {

// At the end of a run with no applicability type and no manufacturer, both batches say so.
void answerEmptyFilesAtExit(TestDriver& driver)
{
    driver.answerMessage(Button::Ok).answerMessage(Button::Ok);
}

bool helpShown()
{
    return app::MainHelp && app::MainHelp->window() && app::MainHelp->window()->isVisible();
}

std::vector<std::string> dataFiles(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".tps")
            names.push_back(entry.path().filename().string());
    return names;
}

// The picture of the frame for the documentation: QUELB_FRAME_SCREENSHOT names the PNG file.
void saveScreenshotWhenAsked()
{
    const QString file = qEnvironmentVariable("QUELB_FRAME_SCREENSHOT");
    if (file.isEmpty() || !ThreadRegistry::frame())
        return;
    QWidget* frame = ThreadRegistry::frame()->topWidget();
    frame->resize(900, 560);
    frame->grab().save(file, "PNG");
}

TEST(Frame, FirstRunMakesAnEmptySettingsFileAndNoDataFile)
{
    testsupport::TempWorkFolder folder;
    TestDriver driver;
    std::string dump;
    std::vector<std::string> filesWhileOpen;
    bool settingsFileEmpty = false;
    driver.waitOpen(e2e::FrameTitle)
        .call([&] {
            std::error_code error;
            settingsFileEmpty =
                std::filesystem::exists(folder.file("quelbarto.ini")) &&
                std::filesystem::file_size(folder.file("quelbarto.ini"), error) == 0;
            filesWhileOpen = dataFiles(folder.path());
        })
        .dump([&](const std::string& text) { dump = e2e::withoutPlaces(text); })
        .call(saveScreenshotWhenAsked);
    answerEmptyFilesAtExit(driver);
    driver.menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");

    EXPECT_TRUE(settingsFileEmpty);
    EXPECT_TRUE(filesWhileOpen.empty());
    EXPECT_NE(
        dump.find(std::string("window \"Программа заказов ООО \\\"Автоцентр ТОРН\\\" (ver 4.1)\" "
                              "P1$APPFRAME thread 1")),
        std::string::npos)
        << dump;
    for (const char* line :
         {"-2 ?PRINTSETUP item \"Установки принтера ...\"", "-3 ?ITEM14 item \"Item&14\"",
          "-4 ?EXIT item \"Выход\"",
          "-6 ?BROWSEPRIOSN item \"Просмотр прайс-листа и заказ товара\"",
          "-8 ?ITEM16 item \"Установки\"", "-9 ?ITEM7 item \"Справочник менеджеров\"",
          "-10 ?ITEM12 item \"Справочник применяемости\"",
          "-11 ?ITEM10 item \"Конвертация данных\"", "-13 ?ITEM8 item \"Справка\"",
          "-14 ?3 item \"О программе\"",
          "-15 ?BUTTON1 toolbutton \"Просмотр прайс-листа и составление заказа\"",
          "-18 ?BUTTON7 toolbutton \"Справочник применяемости\"",
          "-19 ?BUTTON4 toolbutton \"Настройки принтера\"", "-20 ?BUTTON6 toolbutton \"Справка\"",
          "-21 ?BUTTON5 toolbutton \"Выход\""})
        EXPECT_NE(dump.find(line), std::string::npos) << line << "\n" << dump;
    // The notice of the empty reference files comes at the end of the run.
    EXPECT_EQ(e2e::messagesCaptioned(driver, "Нет записей"), 2);
}

TEST(Frame, AnExistingSettingsFileKeepsWhatItHolds)
{
    testsupport::TempWorkFolder folder;
    testsupport::writeFileBytes(folder.file("QUELBARTO.INI"), "[sizeprice]\r\nbr1=1\r\n");
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle);
    answerEmptyFilesAtExit(driver);
    driver.menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    // Only the frame's place is added to it.
    const std::string kept = testsupport::readFileBytes(folder.file("QUELBARTO.INI"));
    EXPECT_EQ(kept.rfind("[sizeprice]\r\nbr1=1\r\n", 0), 0u) << kept;
    EXPECT_NE(kept.find("[Main]\r\n"), std::string::npos) << kept;
    EXPECT_FALSE(std::filesystem::exists(folder.file("quelbarto.ini")));
}

// The frame opens maximised, as a multiple-document frame does; then where the person left it,
// kept in the settings file; and never too small for the windows it holds where the screen has
// the room. Its client size, which the price-list window fits itself to, follows the frame.
TEST(Frame, OpensMaximisedThenWhereThePersonLeftItAndLargeEnoughForItsWindows)
{
    testsupport::TempWorkFolder folder;
    struct Seen
    {
        bool maximized = false;
        QRect geometry;
        QRect screen;
        int clientWidth = 0;
        int clientHeight = 0;
    };
    const auto run = [](const std::function<void()>& then = {}) {
        Seen seen;
        TestDriver driver;
        driver.waitOpen(e2e::FrameTitle).call([&] {
            QWidget* frame = ThreadRegistry::frame()->topWidget();
            seen.maximized = frame->isMaximized();
            seen.geometry = frame->geometry();
            seen.screen = frame->screen()->availableGeometry();
            if (then)
                then();
            seen.clientWidth = app::MainClientWidth;
            seen.clientHeight = app::MainClientHeight;
        });
        answerEmptyFilesAtExit(driver);
        driver.menu("Выход");
        EXPECT_EQ(e2e::runProgram(driver), "");
        return seen;
    };
    // The first time, maximised; the person restores it and sizes it.
    const QRect left(120, 90, 1060, 830);
    const Seen first = run([&] {
        QWidget* frame = ThreadRegistry::frame()->topWidget();
        frame->showNormal();
        frame->setGeometry(left);
    });
    EXPECT_TRUE(first.maximized);
    EXPECT_TRUE(first.screen.contains(first.geometry));
    EXPECT_GT(first.geometry.width() * first.geometry.height(),
              first.screen.width() * first.screen.height() * 9 / 10);

    // Where it was left (to the rounding of dialog units), and the client size follows a
    // person's resize.
    QSize followed;
    const Seen second = run([&] {
        QWidget* frame = ThreadRegistry::frame()->topWidget();
        const int before = app::MainClientWidth;
        frame->resize(frame->width() - 150, frame->height());
        followed = QSize(before - app::MainClientWidth, 0);
    });
    EXPECT_FALSE(second.maximized);
    EXPECT_LE(std::abs(second.geometry.x() - left.x()), 2);
    EXPECT_LE(std::abs(second.geometry.y() - left.y()), 2);
    EXPECT_LE(std::abs(second.geometry.width() - left.width()), 2);
    EXPECT_LE(std::abs(second.geometry.height() - left.height()), 2);
    EXPECT_GE(followed.width(), 95); // 150 pixels, in dialog units

    // Left smaller than the price-list window's design needs: it opens large enough for it.
    run([] { ThreadRegistry::frame()->topWidget()->setGeometry(50, 40, 500, 400); });
    const Seen grown = run();
    EXPECT_FALSE(grown.maximized);
    EXPECT_TRUE(grown.screen.contains(grown.geometry));
    EXPECT_GE(grown.clientWidth, 654);
    EXPECT_GE(grown.clientHeight, 372);
}

TEST(Frame, HandCursorOnSixToolbarButtonsButNotOnTheApplicabilityTypes)
{
    testsupport::TempWorkFolder folder;
    TestDriver driver;
    std::map<std::string, std::string> cursors;
    driver.waitOpen(e2e::FrameTitle).call([&] {
        Window* frame = ThreadRegistry::frame();
        ASSERT_NE(frame, nullptr);
        for (const char* label :
             {"?BUTTON1", "?BUTTON2", "?BUTTON3", "?BUTTON4", "?BUTTON5", "?BUTTON6", "?BUTTON7"})
            cursors[label] = frame->property(frame->number(label), Property::Cursor);
    });
    answerEmptyFilesAtExit(driver);
    driver.press("?BUTTON5");
    EXPECT_EQ(e2e::runProgram(driver), "");
    for (const char* label :
         {"?BUTTON1", "?BUTTON2", "?BUTTON3", "?BUTTON4", "?BUTTON5", "?BUTTON6"})
        EXPECT_EQ(cursors[label], "hand") << label;
    EXPECT_EQ(cursors["?BUTTON7"], "");
}

TEST(Frame, Item14ShowsTheFrameSizeThenTheBareWindow)
{
    testsupport::TempWorkFolder folder;
    TestDriver driver;
    std::string expectedText;
    std::string bareDump;
    driver.waitOpen(e2e::FrameTitle)
        .call([&] {
            Window* frame = ThreadRegistry::frame();
            expectedText =
                frame->property(0, Property::Width) + "   " + frame->property(0, Property::Height);
        })
        .answerMessage(Button::Ok)
        .menu("Item14")
        .waitOpen("Caption")
        .press("?BUTTON1") // has no handling of its own
        .dump([&](const std::string& text) { bareDump = e2e::withoutPlaces(text); })
        .close()
        .waitClose("Caption");
    answerEmptyFilesAtExit(driver);
    driver.menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");

    ASSERT_GE(driver.messages().size(), 1u);
    const MessageRequest& box = driver.messages().front();
    EXPECT_EQ(box.text, expectedText);
    EXPECT_NE(expectedText.find("   "), 0u);
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.icon, MessageIcon::None);
    EXPECT_EQ(box.buttons, 0u);
    EXPECT_NE(bareDump.find("window \"Caption\" P1$WINDOW thread "), std::string::npos) << bareDump;
    EXPECT_NE(bareDump.find("?BUTTON1 button \"Button 1\""), std::string::npos) << bareDump;
}

TEST(Frame, AboutBoxClosesOnOk)
{
    testsupport::TempWorkFolder folder;
    TestDriver driver;
    std::string aboutDump;
    driver.waitOpen(e2e::FrameTitle)
        .menu("О программе")
        .waitOpen("О программе")
        .dump([&](const std::string& text) { aboutDump = e2e::withoutPlaces(text); })
        .press("?BUTTON1")
        .waitClose("О программе");
    answerEmptyFilesAtExit(driver);
    driver.menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    for (const char* line :
         {"1 ?STRING1 string \"Программа разработана для упрощения\"",
          "2 ?STRING1:2 string \"составления заказа и работы с прайс-листом\"",
          "3 ?STRING1:3 string \"ООО \\\"Автоцентр ТОРН\\\"\"", "8 ?BUTTON1 button \"ОК\""})
        EXPECT_NE(aboutDump.find(line), std::string::npos) << line << "\n" << aboutDump;
}

// Without a printer, "Установки принтера" from the menu and from the toolbar says that none is
// installed and that printing goes to a PDF file, rather than showing an empty list.
TEST(Frame, PrinterSetUpWithoutAPrinterSaysWherePrintingGoes)
{
    if (PrinterSetup::anyPrinterInstalled())
        GTEST_SKIP() << "a printer is installed on this machine";
    testsupport::TempWorkFolder folder;
    // A set-up dialog shown instead is noted and closed, so that the run ends.
    int dialogs = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            ++dialogs;
            dialog->reject();
        }
    });
    watch.start(50);
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .answerMessage(Button::Ok)
        .menu("?PRINTSETUP")
        .answerMessage(Button::Ok)
        .menu("?BUTTON4");
    answerEmptyFilesAtExit(driver);
    driver.menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(dialogs, 0);
    ASSERT_GE(driver.messages().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(driver.messages()[i].caption, w("Установки принтера"));
        EXPECT_EQ(driver.messages()[i].text,
                  w("Принтер не установлен.\nПечать выполняется в файл PDF: его имя "
                    "спрашивается при каждой печати."));
    }
}

TEST(Frame, HelpContentsFromTheMenuTheToolbarAndF1)
{
    testsupport::TempWorkFolder folder;
    TestDriver driver;
    bool byMenu = false;
    bool byButton = false;
    bool byF1 = false;
    const auto closeHelp = [] {
        if (app::MainHelp)
            app::MainHelp->close();
    };
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справка")
        .call([&] { byMenu = helpShown(); })
        .call(closeHelp)
        .press("?BUTTON6")
        .call([] {}) // the posted menu choice is handled from the event loop
        .call([&] { byButton = helpShown(); })
        .call(closeHelp)
        .key("", "F1")
        .call([] {})
        .call([&] { byF1 = helpShown(); })
        .call(closeHelp);
    answerEmptyFilesAtExit(driver);
    driver.menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_TRUE(byMenu);
    EXPECT_TRUE(byButton);
    EXPECT_TRUE(byF1);
    EXPECT_EQ(app::MainHelp, nullptr);
}

} // namespace

namespace {

// A window started again while it lies minimised comes forward restored: the person can work
// in it at once.
TEST(Frame, AWindowStartedAgainWhileMinimisedComesForwardRestored)
{
    testsupport::TempWorkFolder folder;
    constexpr const char* PriceWindow = "Прайс-лист/Заказ";
    constexpr const char* OpenPriceWindow = "Просмотр прайс-листа и составление заказа";
    TestDriver driver;
    bool minimised = false;
    bool restored = false;
    int windows = 0;
    const auto childOfFrame = [] {
        return qobject_cast<QMdiSubWindow*>(TestDriver::topWindow()->topWidget());
    };
    driver.waitOpen(e2e::FrameTitle)
        .menu(OpenPriceWindow)
        .waitOpen(PriceWindow)
        .waitIdle()
        .titleButton("minimize")
        .waitIdle()
        .call([&] { minimised = childOfFrame() && childOfFrame()->isMinimized(); })
        .menu(OpenPriceWindow)
        .waitIdle()
        .call([&] {
            restored = childOfFrame() && !childOfFrame()->isMinimized();
            windows = static_cast<int>(ThreadRegistry::openWindows().size());
        })
        .press("?CLOSE")
        .waitClose(PriceWindow);
    answerEmptyFilesAtExit(driver);
    driver.menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_TRUE(minimised);
    EXPECT_TRUE(restored);
    EXPECT_EQ(windows, 2); // the frame and the one price-list window
}

} // namespace
