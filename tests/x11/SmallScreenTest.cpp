// The program on screens of every common size. On small screens, with and without a window
// manager: the frame opens wholly on the screen, and the price-list window opened from it has
// every control within the frame's client area, seen at once where the window fits and reached
// through the area's scroll bars where the window cannot be made small enough. On ordinary
// screens the frame opens maximised and the window at its design size, or where the person
// left it, resizable. Each screen is an X server of its own, so each runs this program again as
// a child on it.
#include "WindowManager.h"
#include "X11Session.h"
#include "XServer.h"

#include "app/browsepriosn/BrowsepriosnSettings.h"
#include "app/browsepriosn/PriceWindowFitter.h"
#include "app/dictionary/Dictionary.h"
#include "app/frame/FrameGlobals.h"
#include "app/startup/MainProgram.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/HelpService.h"
#include "platform/ui/HelpWindow.h"
#include "platform/ui/Property.h"
#include "platform/ui/ScreenReach.h"
#include "platform/ui/ScrollIntoView.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace platform::ui;
using platform::text::w;

constexpr const char* FrameTitle = "Программа заказов ООО \"Автоцентр ТОРН\" (ver 4.1)";
constexpr const char* Title = "Прайс-лист/Заказ";
constexpr const char* OpenPriceWindow = "Просмотр прайс-листа и составление заказа";

struct Screen
{
    const char* size;
    bool windowManager;
    // The price-list window fits into the client area whole; otherwise the area scrolls.
    bool windowFits;
};

std::string describe(const Screen& screen)
{
    return std::string(screen.size) + (screen.windowManager ? " with" : " without") +
           " a window manager";
}

// Runs the tests of `filter` again as a child on a screen of its own; `fits` goes to the child
// as QUELB_SCREEN_WINDOW_FITS.
void runOnScreen(const Screen& screen, const char* filter)
{
    SCOPED_TRACE(describe(screen));
    x11test::XServer server;
    if (!server.start({"us"}, screen.size, false))
        GTEST_SKIP() << "no X server of " << screen.size << ": " << server.why();
    x11test::WindowManager manager;
    if (screen.windowManager) {
        ASSERT_TRUE(manager.start(server.display())) << manager.why();
    }

    QTemporaryDir profile;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromStdString(server.display()));
    environment.insert(QStringLiteral("QUELB_SCREEN_CHILD"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QUELB_SCREEN_WINDOW_FITS"),
                       screen.windowFits ? QStringLiteral("1") : QStringLiteral("0"));
    environment.insert(QStringLiteral("QUELB_SYSTEM_SETTINGS"),
                       profile.filePath(QStringLiteral("system.ini")));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("/proc/self/exe"),
                {QStringLiteral("--gtest_filter=") + QString::fromLatin1(filter)});
    ASSERT_TRUE(child.waitForFinished(120000)) << "the child did not end";
    const std::string output = child.readAll().toStdString();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

TEST(SmallScreens, FrameOnTheScreenAndEveryControlOfThePriceWindowInItsClientArea)
{
    if (x11test::screenChild())
        GTEST_SKIP() << "runs the screens, not on one";
    if (!x11test::serverRunning())
        GTEST_SKIP() << "no X server for the test: " << x11test::skipReason();
    for (const Screen& screen : {Screen{"800x600", true, true}, Screen{"800x600", false, true},
                                 Screen{"640x480", true, false}, Screen{"640x480", false, false}})
        runOnScreen(screen, "PriceWindowOnTheScreen.*");
}

// On a screen of an ordinary size the frame opens maximised, large enough for the price-list
// window's design: the window opens where the person left it, unfitted and resizable. On one
// of 800 x 600 pixels it fits itself in as before.
TEST(CommonScreens, FrameMaximisedAndThePriceWindowWhereThePersonLeftIt)
{
    if (x11test::screenChild())
        GTEST_SKIP() << "runs the screens, not on one";
    if (!x11test::serverRunning())
        GTEST_SKIP() << "no X server for the test: " << x11test::skipReason();
    for (const Screen& screen : {Screen{"1024x768", true, true}, Screen{"1280x1024", true, true},
                                 Screen{"1920x1080", true, true}, Screen{"800x600", true, false}})
        runOnScreen(screen, "PriceWindowAsLeft.*");
}

// --- On one screen, in the child ---

void writePriceListAndBasket()
{
    app::DictionaryInit();
    ASSERT_EQ(app::RelatePRIOSN->open(), 0);
    for (int i = 0; i < 30; ++i) {
        app::PRIOSN().clearBuffer();
        app::PR().KOD = 1001 + i;
        app::PR().OBOZ = "C08-35010" + std::to_string(10 + i);
        app::PR().NAIM = w("Колодка тормозная передняя");
        app::PR().PROIZV = w("Техно-М");
        app::PR().CENA = 100.0 + i;
        app::PR().KOLVUP = 1;
        ASSERT_EQ(app::PRIOSN().add(), 0);
    }
    app::RelatePRIOSN->close();
    ASSERT_EQ(app::RelateKORZAK->open(), 0);
    app::KORZAK().clearBuffer();
    app::K().KOD = 1001;
    app::K().KOL = 2;
    app::K().CENA = 100.0;
    app::K().SUMMA = 200.0;
    ASSERT_EQ(app::KORZAK().add(), 0);
    app::RelateKORZAK->close();
    app::DictionaryKill();
}

std::string nameOf(const Control& control)
{
    return std::to_string(control.number()) + " " + control.label();
}

// What a person finds of each shown control: scrolled into view as they would scroll the
// frame's client area, it shows whole (or fills the view where it is larger than the area),
// and one they click is not covered.
struct Findings
{
    std::vector<std::string> faults;
    bool scrolled = false;
};

Findings lookForEveryControl(Window& window, QMdiArea& area)
{
    static const std::set<std::string> clicked = {"button", "entry", "tab",     "list",
                                                  "check",  "radio", "droplist"};
    Findings found;
    QWidget* viewport = area.viewport();
    for (Control* control : window.controls()) {
        const ScreenArea where = control->screenArea();
        if (!window.isShown(*control) || !where.widget || !where.widget->isVisible())
            continue;
        found.scrolled = scrollIntoView(where) || found.scrolled;
        const QRect placed(where.widget->mapTo(viewport, where.rect.topLeft()), where.rect.size());
        const QRect seen = placed & viewport->rect();
        if (seen.width() < std::min(placed.width(), viewport->width()) ||
            seen.height() < std::min(placed.height(), viewport->height()))
            found.faults.push_back(nameOf(*control) + " is not wholly in the client area");
        const ScreenReach reach = screenReach(where);
        if (clicked.count(control->kind()) && !reach.reachable())
            found.faults.push_back(nameOf(*control) + " " + reach.fault);
    }
    return found;
}

TEST(PriceWindowOnTheScreen, FitsOrScrollsSoThatEveryControlIsReached)
{
    if (!x11test::screenChild())
        GTEST_SKIP() << "runs on a small screen of its own, started by SmallScreens";
    const bool windowFits = qEnvironmentVariable("QUELB_SCREEN_WINDOW_FITS") == QLatin1String("1");
    testsupport::TempWorkFolder folder;
    writePriceListAndBasket();

    QRect frameOnScreen;
    QRect screenArea;
    Findings findings;
    bool scrollBars = true;
    TestDriver driver;
    driver.waitOpen(FrameTitle)
        .call([&] {
            const QWidget* frame = ThreadRegistry::frame()->topWidget();
            frameOnScreen = frame->frameGeometry();
            screenArea = frame->screen()->availableGeometry();
        })
        .menu(OpenPriceWindow)
        .waitOpen(Title)
        .waitIdle()
        .call([&] {
            QMdiArea& area = *ThreadRegistry::frame()->mdiArea();
            scrollBars =
                area.horizontalScrollBar()->isVisible() || area.verticalScrollBar()->isVisible();
            findings = lookForEveryControl(*TestDriver::topWindow(), area);
        })
        .press("?CLOSE")
        .waitClose(Title)
        // No manufacturer and no applicability type: the marks' batches say so at the end.
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .menu("Выход");
    std::string failure = "the driver did not finish";
    bool done = false;
    driver.start(
        [&](const std::string& result) {
            failure = result;
            done = true;
        },
        60000);
    app::MainProgram();
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    EXPECT_EQ(failure, "");
    EXPECT_FALSE(frameOnScreen.isEmpty());
    EXPECT_TRUE(screenArea.contains(frameOnScreen))
        << "frame at " << frameOnScreen.x() << "," << frameOnScreen.y() << " size "
        << frameOnScreen.width() << "x" << frameOnScreen.height() << " on a screen of "
        << screenArea.width() << "x" << screenArea.height();
    EXPECT_TRUE(findings.faults.empty()) << testing::PrintToString(findings.faults);
    // Where the window fits, all of it is in view at once; otherwise the area scrolls to it.
    EXPECT_EQ(scrollBars, !windowFits);
    EXPECT_EQ(findings.scrolled, !windowFits);
}

// Windows of their own (the save window, the help window) open wholly on the screen, even
// where the window manager would place them partly off it or they are larger than it.
TEST(AllScreens, WindowsOfTheirOwnOpenWhollyOnTheScreen)
{
    if (x11test::screenChild())
        GTEST_SKIP() << "runs the screens, not on one";
    if (!x11test::serverRunning())
        GTEST_SKIP() << "no X server for the test: " << x11test::skipReason();
    for (const Screen& screen : {Screen{"640x480", true, false}, Screen{"1280x1024", true, true}})
        runOnScreen(screen, "WindowsOnTheScreen.*");
}

std::string placeOf(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

TEST(WindowsOnTheScreen, SaveAndHelpWindowsWhollyOnIt)
{
    if (!x11test::screenChild())
        GTEST_SKIP() << "runs on a screen of its own, started by AllScreens";
    testsupport::TempWorkFolder folder;
    writePriceListAndBasket();

    QRect screenArea;
    QRect save;
    QRect help;
    TestDriver driver;
    driver.waitOpen(FrameTitle)
        .call([&] { screenArea = ThreadRegistry::frame()->topWidget()->screen()->availableGeometry(); })
        .menu(OpenPriceWindow)
        .waitOpen(Title)
        .waitIdle()
        .press("?BUTTON9")
        .waitOpen("Сохранение/Выгрузка заказа")
        .call([&] { save = TestDriver::topWindow()->topWidget()->frameGeometry(); })
        .close()
        .waitClose("Сохранение/Выгрузка заказа")
        .menu("Справка")
        .call([&] {
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < 3000 &&
                   !(app::MainHelp && app::MainHelp->window() &&
                     app::MainHelp->window()->isVisible()))
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (app::MainHelp && app::MainHelp->window())
                help = app::MainHelp->window()->frameGeometry();
        })
        .press("?CLOSE")
        .waitClose(Title)
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .menu("Выход");
    std::string failure = "the driver did not finish";
    bool done = false;
    driver.start(
        [&](const std::string& result) {
            failure = result;
            done = true;
        },
        60000);
    app::MainProgram();
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    EXPECT_EQ(failure, "");
    EXPECT_FALSE(save.isEmpty());
    EXPECT_TRUE(screenArea.contains(save)) << placeOf(save) << " on " << placeOf(screenArea);
    EXPECT_FALSE(help.isEmpty());
    EXPECT_TRUE(screenArea.contains(help)) << placeOf(help) << " on " << placeOf(screenArea);
}

// Where the person left the window: saved when it last closed.
const app::WindowGeometry Left{4, 6, 660, 380};

TEST(PriceWindowAsLeft, UnfittedAndResizableWhereTheFrameHoldsItsDesign)
{
    if (!x11test::screenChild())
        GTEST_SKIP() << "runs on a screen of its own, started by CommonScreens";
    // Here: the window fits itself into a frame too small for it.
    const bool fitting = qEnvironmentVariable("QUELB_SCREEN_WINDOW_FITS") == QLatin1String("0");
    testsupport::TempWorkFolder folder;
    writePriceListAndBasket();
    app::savePriceWindowSizes({Left, "", ""});

    bool maximized = false;
    QRect frameOnScreen;
    QRect screenArea;
    app::Box window;
    std::string resizable;
    std::string heading;
    bool maximizeBox = false;
    TestDriver driver;
    driver.waitOpen(FrameTitle)
        .call([&] {
            const QWidget* frame = ThreadRegistry::frame()->topWidget();
            maximized = frame->isMaximized();
            frameOnScreen = frame->frameGeometry();
            screenArea = frame->screen()->availableGeometry();
        })
        .menu(OpenPriceWindow)
        .waitOpen(Title)
        .waitIdle()
        .call([&] {
            Window& price = *TestDriver::topWindow();
            window = app::PriceWindowFitter::read(price).window;
            resizable = price.property(0, Property::Resizable);
            heading = platform::text::cp1251ToUtf8(price.property(3, Property::Text));
            if (auto* sub = qobject_cast<QMdiSubWindow*>(price.topWidget()))
                maximizeBox = sub->windowFlags().testFlag(Qt::WindowMaximizeButtonHint);
        })
        .press("?CLOSE")
        .waitClose(Title)
        .answerMessage(Button::Ok)
        .answerMessage(Button::Ok)
        .menu("Выход");
    std::string failure = "the driver did not finish";
    bool done = false;
    driver.start(
        [&](const std::string& result) {
            failure = result;
            done = true;
        },
        60000);
    app::MainProgram();
    QElapsedTimer waited;
    waited.start();
    while (!done && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    EXPECT_EQ(failure, "");
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(screenArea.contains(frameOnScreen));
    EXPECT_GE(frameOnScreen.width(), screenArea.width() - 2);
    EXPECT_GE(frameOnScreen.height(), screenArea.height() - 2);
    if (fitting) {
        EXPECT_EQ(heading, "ПРАЙС-ЛИСТ");
        EXPECT_EQ(resizable, "0");
        EXPECT_EQ(window.x, 0);
        EXPECT_EQ(window.y, 0);
        return;
    }
    EXPECT_EQ(window, (app::Box{Left.x, Left.y, Left.width, Left.height}));
    EXPECT_EQ(heading, "П Р А Й С - Л И С Т");
    EXPECT_EQ(resizable, "1");
    EXPECT_TRUE(maximizeBox);
}

} // namespace
