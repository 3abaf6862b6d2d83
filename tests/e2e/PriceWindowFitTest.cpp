#include "ProgramSession.h"

#include "app/browsepriosn/BrowsepriosnSettings.h"
#include "app/browsepriosn/PriceWindowFit.h"
#include "app/browsepriosn/PriceWindowFitter.h"
#include "app/dictionary/Dictionary.h"
#include "app/frame/FrameGlobals.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/DefinitionLoader.h"
#include "platform/ui/LayoutAudit.h"
#include "platform/ui/Property.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMdiArea>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The price-list window opened from the toolbar of a frame smaller than the window's design:
// it fits itself into the frame's client area.
using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Прайс-лист/Заказ";
constexpr const char* OpenPriceWindow = "Просмотр прайс-листа и составление заказа";
constexpr int DesignWidth = 654;
constexpr int DesignHeight = 372;

// The person restores the frame from maximised and sizes it (in its dialog units) before
// opening the price-list window, which then fits the frame as it is.
void sizeFrame(int width, int height)
{
    Window* frame = ThreadRegistry::frame();
    QWidget* top = frame->topWidget();
    top->showNormal();
    top->resize(frame->units().toPixelsX(width), frame->units().toPixelsY(height));
}

// The frame's size in its own dialog units for a size in pixels.
QSize frameUnitsFor(int widthPixels, int heightPixels)
{
    const Window probe(loadWindowDefinition("quelb001", "P1$APPFRAME"));
    return {probe.units().fromPixelsX(widthPixels), probe.units().fromPixelsY(heightPixels)};
}

// What the test saw of the fitted window.
struct Seen
{
    int clientWidth = 0;
    int clientHeight = 0;
    app::PriceWindowLayout layout;
    std::vector<std::string> outside;  // controls not inside the frame's client area
    std::vector<std::string> overlaps; // buttons over one another
    std::string resizable;
    std::string heading;
    bool fitted = false;
};

std::string name(const Control& control)
{
    return std::to_string(control.number()) + " " + control.label();
}

void letEventsRun(int ms)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// Lets the window's events run until the fit is done (the window no longer larger than the
// client area) and the resize it caused has been handled.
bool waitForFit(Window& window)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        const app::Box box = app::PriceWindowFitter::read(window).window;
        if (!app::fitNeeded(box, app::MainClientWidth, app::MainClientHeight)) {
            letEventsRun(100);
            return true;
        }
    }
    return false;
}

// Looks at the window once it has fitted itself, or at once when it was fitted before.
void look(Seen& seen, bool fitting = true)
{
    Window* window = TestDriver::topWindow();
    Window* frame = ThreadRegistry::frame();
    if (!window || !frame || !frame->mdiArea())
        return;
    seen.clientWidth = app::MainClientWidth;
    seen.clientHeight = app::MainClientHeight;
    if (fitting)
        seen.fitted = waitForFit(*window);
    else
        letEventsRun(100);
    seen.layout = app::PriceWindowFitter::read(*window);
    seen.resizable = window->property(0, Property::Resizable);
    seen.heading = platform::text::cp1251ToUtf8(window->property(3, Property::Text));

    QWidget* client = frame->mdiArea()->viewport();
    const QRect area(QPoint(0, 0), client->size());
    std::vector<std::pair<const Control*, QRect>> buttons;
    for (const Control* control : window->controls()) {
        QWidget* widget = control->widget();
        if (!widget)
            continue;
        const QRect placed(widget->mapTo(client, QPoint(0, 0)), widget->size());
        if (!area.contains(placed))
            seen.outside.push_back(name(*control));
        if (control->kind() == "button" && window->isShown(*control))
            buttons.emplace_back(control, placed);
    }
    for (std::size_t a = 0; a < buttons.size(); ++a)
        for (std::size_t b = a + 1; b < buttons.size(); ++b)
            if (buttons[a].second.intersects(buttons[b].second))
                seen.overlaps.push_back(name(*buttons[a].first) + " / " + name(*buttons[b].first));
}

// The fitted window for the documentation: QUELB_FIT_SCREENSHOT names the PNG file. Under an
// X server the frame is taken with its window manager's border.
void saveScreenshotWhenAsked()
{
    const QString file = qEnvironmentVariable("QUELB_FIT_SCREENSHOT");
    if (file.isEmpty() || !ThreadRegistry::frame())
        return;
    QWidget* frame = ThreadRegistry::frame()->topWidget();
    const QRect outer = frame->frameGeometry();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (QGuiApplication::platformName() == QLatin1String("xcb") && screen)
        screen->grabWindow(0, outer.x(), outer.y(), outer.width(), outer.height())
            .save(file, "PNG");
    else
        frame->grab().save(file, "PNG");
}

class PriceWindowFit : public ::testing::Test
{
protected:
    static void writeSample()
    {
        app::DictionaryInit();
        ASSERT_EQ(app::RelatePRIOSN->open(), 0);
        const char* names[] = {"Фильтр масляный", "Колодки тормозные", "Свеча зажигания",
                               "Ремень ГРМ", "Амортизатор передний"};
        for (int i = 0; i < 40; ++i) {
            app::PRIOSN().clearBuffer();
            app::PR().KOD = 10001 + i;
            app::PR().OBOZ = "OC " + std::to_string(90 + i);
            app::PR().NAIM = w(names[i % 5]);
            app::PR().PRIMEN = w("Легковые");
            app::PR().PROIZV = "Bosch";
            app::PR().GRUP = w("Фильтры");
            app::PR().CENA = 100.0 + 7 * i;
            app::PR().VES = 0.25;
            app::PR().KOLVUP = 1;
            ASSERT_EQ(app::PRIOSN().add(), 0);
        }
        app::RelatePRIOSN->close();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        for (int i = 0; i < 3; ++i) {
            app::KORZAK().clearBuffer();
            app::K().KOD = 10001 + i;
            app::K().OBOZ = "OC " + std::to_string(90 + i);
            app::K().NAIM = w(names[i]);
            app::K().PROIZV = "Bosch";
            app::K().KOL = static_cast<int16_t>(i + 1);
            app::K().CENA = 100.0 + 7 * i;
            app::K().SUMMA = app::K().CENA * app::K().KOL;
            ASSERT_EQ(app::KORZAK().add(), 0);
        }
        app::RelateKORZAK->close();
        app::DictionaryKill();
    }

    // Opens the price-list window from the toolbar of a frame of this size, looks at it and
    // closes the program.
    static Seen openIn(int frameWidth, int frameHeight, bool screenshot = false,
                       const std::function<void(Seen&)>& then = {})
    {
        testsupport::TempWorkFolder folder;
        SetUpFiles();
        Seen seen;
        TestDriver driver;
        driver.waitOpen(e2e::FrameTitle)
            .call([&] { sizeFrame(frameWidth, frameHeight); })
            .menu(OpenPriceWindow)
            .waitOpen(Title)
            .call([&] { look(seen); });
        if (screenshot)
            driver.call(saveScreenshotWhenAsked);
        if (then)
            driver.call([&] { then(seen); });
        driver.close().waitClose(Title).menu("Выход");
        EXPECT_EQ(e2e::runProgram(driver), "");
        return seen;
    }

    static void SetUpFiles()
    {
        e2e::writeApplicabilityTypes({{"Легковые", 0}});
        e2e::writeManufacturers({{"Bosch", 0}});
        writeSample();
    }

    static void expectInsideAndApart(const Seen& seen)
    {
        EXPECT_TRUE(seen.fitted);
        EXPECT_TRUE(seen.outside.empty()) << ::testing::PrintToString(seen.outside);
        EXPECT_TRUE(seen.overlaps.empty()) << ::testing::PrintToString(seen.overlaps);
        // The totals row stays closed up and the basket list inside its sheet.
        const auto& c = seen.layout.controls;
        for (int control = 14; control <= 18; ++control) {
            EXPECT_EQ(c.at(control).x, c.at(control - 1).x + c.at(control - 1).width) << control;
            EXPECT_EQ(c.at(control).y, c.at(13).y) << control;
        }
        EXPECT_EQ(c.at(19).y, c.at(29).y + 18);
        EXPECT_EQ(c.at(19).y + c.at(19).height, c.at(29).y + c.at(29).height - 4);
    }
};

TEST_F(PriceWindowFit, NarrowFrameFitsTheWidthAndLeavesTheHeights)
{
    const Seen seen = openIn(600, 480);
    ASSERT_LT(seen.clientWidth, DesignWidth);
    ASSERT_GE(seen.clientHeight, DesignHeight);
    expectInsideAndApart(seen);
    EXPECT_EQ(seen.layout.window.x, 0);
    EXPECT_EQ(seen.layout.window.width, seen.clientWidth - 3);
    EXPECT_EQ(seen.layout.window.height, DesignHeight);
    EXPECT_EQ(seen.resizable, "0"); // the user may no longer resize it
    EXPECT_EQ(seen.heading, "ПРАЙС-ЛИСТ");
    const WindowDefinition design = loadWindowDefinition("quelb002", "P1$QUICKWINDOW");
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        const int control = static_cast<int>(i) + 1;
        const auto& height = design.controls[i].at.height;
        // The headings take a smaller font's height; the basket list follows its sheet.
        if (!height || *height == 0 || control == 3 || control == 6 || control == 19)
            continue;
        EXPECT_EQ(seen.layout.controls.at(control).height, *height) << control;
    }
}

TEST_F(PriceWindowFit, LowFrameFitsTheHeightAndLeavesTheWidths)
{
    const Seen seen = openIn(720, 370);
    ASSERT_GE(seen.clientWidth, DesignWidth);
    ASSERT_LT(seen.clientHeight, DesignHeight);
    expectInsideAndApart(seen);
    EXPECT_EQ(seen.layout.window.y, 0);
    EXPECT_EQ(seen.layout.window.height, seen.clientHeight - 20);
    EXPECT_EQ(seen.layout.window.width, DesignWidth);
    EXPECT_EQ(seen.resizable, "1");
    EXPECT_EQ(seen.heading, "П Р А Й С - Л И С Т");
    EXPECT_EQ(seen.layout.controls.at(1).x, 9);
    EXPECT_EQ(seen.layout.controls.at(1).width, 631);
}

TEST_F(PriceWindowFit, AfterAFitDownTheUsersResizeFollowsTheResizer)
{
    app::PriceWindowLayout fitted;
    const Seen seen = openIn(720, 370, false, [&](Seen& now) {
        fitted = now.layout;
        // The user drags the window's corner: wider and taller.
        QWidget* top = TestDriver::topWindow()->topWidget();
        top->resize(top->width() + 60, top->height() + 40);
        look(now, false);
    });
    ASSERT_EQ(seen.resizable, "1");
    const auto& before = fitted.controls;
    const auto& after = seen.layout.controls;
    EXPECT_GT(seen.layout.window.width, fitted.window.width);
    EXPECT_GT(seen.layout.window.height, fitted.window.height);
    // The lists take the growth; the buttons keep their sizes and stay apart.
    EXPECT_GT(after.at(1).width, before.at(1).width);
    EXPECT_GT(after.at(1).height + after.at(19).height, before.at(1).height + before.at(19).height);
    for (int button : {20, 21, 22, 23, 24, 25, 26, 54})
        EXPECT_EQ(after.at(button).height, before.at(button).height) << button;
    EXPECT_TRUE(seen.overlaps.empty()) << ::testing::PrintToString(seen.overlaps);
    // The totals row and the basket list still follow the resize handler.
    for (int control = 14; control <= 18; ++control)
        EXPECT_EQ(after.at(control).x, after.at(control - 1).x + after.at(control - 1).width);
    EXPECT_EQ(after.at(19).y, after.at(29).y + 18);
    EXPECT_EQ(after.at(19).y + after.at(19).height, after.at(29).y + after.at(29).height - 4);
}

// Where a person first sees a widget: its centre in its top-level window when it is first
// drawn.
class FirstSight : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!seen && event->type() == QEvent::Paint) {
            auto* widget = static_cast<QWidget*>(watched);
            top = widget->window();
            at = widget->mapTo(top, widget->rect().center());
            seen = true;
        }
        return false;
    }

    bool seen = false;
    QPointer<QWidget> top;
    QPoint at;
};

// A person clicks "Загрузить прайс-лист" where they first see it as the window shows, their
// hand a moment behind their eyes: the fit the window does on its first tick is done before it
// is drawn, so the button is still there.
TEST_F(PriceWindowFit, AClickRightAfterTheWindowShowsLandsWhereTheButtonShows)
{
    testsupport::TempWorkFolder folder;
    SetUpFiles();
    const QSize units = frameUnitsFor(800, 600);
    FirstSight sight;
    const int hook = Window::addOpenHook([&](Window& window) {
        if (platform::text::cp1251ToUtf8(window.title()) == Title)
            window.control("?BUTTON7")->widget()->installEventFilter(&sight);
    });
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .call([&] { sizeFrame(units.width(), units.height()); })
        .menu(OpenPriceWindow)
        .waitOpen(Title)
        .call([] { letEventsRun(100); })
        .call([&] {
            QTimer::singleShot(0, sight.top, [&] {
                if (sight.top)
                    UserInput::click(sight.top, sight.at);
            });
        })
        .waitOpen("Загрузка прайс-листа")
        .close()
        .waitClose("Загрузка прайс-листа")
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    Window::removeOpenHook(hook);
    EXPECT_TRUE(sight.seen);
}

TEST_F(PriceWindowFit, SmallFrameFitsBoth)
{
    const QSize frame = frameUnitsFor(800, 600);
    const Seen seen = openIn(frame.width(), frame.height(), true);
    ASSERT_LT(seen.clientWidth, DesignWidth);
    ASSERT_LT(seen.clientHeight, DesignHeight);
    expectInsideAndApart(seen);
    EXPECT_EQ(seen.layout.window.x, 0);
    EXPECT_EQ(seen.layout.window.y, 0);
    EXPECT_EQ(seen.layout.window.width, seen.clientWidth - 3);
    EXPECT_EQ(seen.layout.window.height, seen.clientHeight - 20);
    EXPECT_EQ(seen.resizable, "0");
}

// In the frame of its design the window is fitted; both lists still show every column header
// whole, "Фото" at their right ends included, and nothing else a person sees is cut or covered.
TEST_F(PriceWindowFit, TheDesignFrameShowsEveryHeaderAndTextWhole)
{
    std::vector<std::string> faults;
    const Seen seen = openIn(
        640, 400, false, [&](Seen&) { faults = LayoutAudit::controls(*TestDriver::topWindow()); });
    EXPECT_TRUE(seen.fitted);
    EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

TEST_F(PriceWindowFit, AFrameMadeSmallerScrollsToEveryControlOfTheWindow)
{
    testsupport::TempWorkFolder folder;
    SetUpFiles();
    bool scrollBars = false;
    TestDriver driver;
    // The person makes the frame smaller once the window is open, which then reaches past the
    // client area.
    driver.waitOpen(e2e::FrameTitle)
        .menu(OpenPriceWindow)
        .waitOpen(Title)
        .call([] {
            const QSize units = frameUnitsFor(800, 600);
            sizeFrame(units.width() * 2 / 3, units.height() * 2 / 3);
        })
        .waitIdle()
        .call([&] {
            const QMdiArea* area = ThreadRegistry::frame()->mdiArea();
            scrollBars =
                area->horizontalScrollBar()->isVisible() && area->verticalScrollBar()->isVisible();
        })
        // The last search tab at the top right, the close button at the bottom right.
        .press("?TAB:7")
        .press("?CLOSE")
        .waitClose(Title)
        // Its close box at the window's top right.
        .menu(OpenPriceWindow)
        .waitOpen(Title)
        .waitIdle()
        .titleButton("close")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_TRUE(scrollBars);
}

TEST_F(PriceWindowFit, BelowTheSmallestFitTheWindowKeepsItsLayoutAndTheFrameScrolls)
{
    testsupport::TempWorkFolder folder;
    SetUpFiles();
    // A frame as large as a screen of 640 x 480 pixels allows.
    const QSize units = frameUnitsFor(640, 480);
    Seen seen;
    TestDriver driver;
    // The window stays larger than the client area: it is looked at once it has settled.
    driver.waitOpen(e2e::FrameTitle)
        .call([&] { sizeFrame(units.width(), units.height()); })
        .menu(OpenPriceWindow)
        .waitOpen(Title)
        .waitIdle()
        .call([&] { look(seen, false); })
        // "Заказать" at the right of the middle row, past the client area's edge.
        .select("?BROWSE:1", 1)
        .press("?BUTTON4")
        .waitOpen("Заказ товара")
        .close()
        .waitClose("Заказ товара")
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    ASSERT_LT(seen.clientWidth, app::NarrowestFit);
    ASSERT_LT(seen.clientHeight, app::LowestFit);
    EXPECT_EQ(seen.layout.window.width, app::NarrowestFit - 3);
    EXPECT_EQ(seen.layout.window.height, app::LowestFit - 20);
    EXPECT_TRUE(seen.overlaps.empty()) << ::testing::PrintToString(seen.overlaps);
    // Every control lies inside the window, even where the window reaches past the frame.
    for (const auto& [control, box] : seen.layout.controls)
        if (control != 2) { // the hidden fitting button
            EXPECT_LE(box.x + box.width, seen.layout.window.width) << control;
            EXPECT_LE(box.y + box.height, seen.layout.window.height) << control;
        }
}

TEST_F(PriceWindowFit, FrameHoldingTheDesignRestoresTheSavedGeometry)
{
    testsupport::TempWorkFolder folder;
    SetUpFiles();
    app::savePriceWindowSizes({{5, 6, 700, 400}, "", ""});
    app::PriceWindowLayout layout;
    std::string resizable, heading;
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .call([] { sizeFrame(900, 560); })
        .menu(OpenPriceWindow)
        .waitOpen(Title)
        .call([&] {
            letEventsRun(150);
            layout = app::PriceWindowFitter::read(*TestDriver::topWindow());
            resizable = TestDriver::topWindow()->property(0, Property::Resizable);
            heading =
                platform::text::cp1251ToUtf8(TestDriver::topWindow()->property(3, Property::Text));
        })
        .close()
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(layout.window, (app::Box{5, 6, 700, 400}));
    EXPECT_EQ(resizable, "1");
    EXPECT_EQ(heading, "П Р А Й С - Л И С Т");
}

} // namespace

namespace {

// The frame keeps its client size in its own dialog units and the window compares it with its
// own: the two must share their font for the units to agree.
TEST(PriceWindowFitUnits, FrameAndPriceWindowShareTheirFont)
{
    const WindowDefinition frame = loadWindowDefinition("quelb001", "P1$APPFRAME");
    const WindowDefinition window = loadWindowDefinition("quelb002", "P1$QUICKWINDOW");
    EXPECT_EQ(frame.font.name, window.font.name);
    EXPECT_EQ(frame.font.size, window.font.size);
    EXPECT_EQ(frame.font.weight, window.font.weight);
}

} // namespace
