#include "platform/ui/LayoutAudit.h"
#include "platform/ui/Control.h"

#include "RecordingController.h"
#include "WindowTestSupport.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace platform::ui;
using uitest::RecordingController;

namespace {

class LayoutAuditTest : public uitest::WindowTest
{
};

TEST_F(LayoutAuditTest, NamesCoveredOutsideAndClippedControlsAndNothingElse)
{
    RecordingController window("sample", "P1$REACH");
    std::vector<std::string> faults;
    std::vector<std::string> chain;
    window.onWindowEvent = [&](RecordingController& self) {
        if (self.event() == Event::OpenWindow) {
            faults = LayoutAudit::controls(self.window());
            chain = LayoutAudit::tabChain(self.window());
            self.window().post(Event::CloseWindow);
        }
        return Level::Benign;
    };
    window.run();
    ASSERT_EQ(faults.size(), 3u) << testing::PrintToString(faults);
    EXPECT_EQ(faults[0], "\"Досягаемость\" ?UNDER (button): is covered by ?OVER");
    EXPECT_EQ(faults[1].rfind("\"Досягаемость\" ?AWAY (button): at ", 0), 0u) << faults[1];
    EXPECT_NE(faults[1].find("lies outside its window"), std::string::npos) << faults[1];
    EXPECT_EQ(faults[2].rfind("\"Досягаемость\" ?TIGHT (button): text \"Очень длинная надпись\" "
                              "needs ",
                              0),
              0u)
        << faults[2];
    // The Tab key reaches even the covered button; the one outside is not shown at all.
    EXPECT_TRUE(chain.empty()) << testing::PrintToString(chain);
}

TEST_F(LayoutAuditTest, ATabSheetsTabsHaveRoomForTheirTexts)
{
    RecordingController window("sample", "P1$WINDOW");
    std::vector<std::string> faults;
    window.onWindowEvent = [&](RecordingController& self) {
        if (self.event() == Event::OpenWindow) {
            faults = LayoutAudit::controls(self.window());
            self.window().post(Event::CloseWindow);
        }
        return Level::Benign;
    };
    window.run();
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
}

} // namespace

namespace {

// A window of the sample module run by a recording controller; `look` runs once it is open,
// from the event loop (as a person's look would, outside the window's handlers), then the
// window closes.
template <typename Look> void openAndLook(RecordingController& window, Look look)
{
    window.onWindowEvent = [&](RecordingController& self) {
        if (self.event() == Event::OpenWindow)
            QTimer::singleShot(0, self.window().content(), [&] {
                look(self);
                self.window().post(Event::CloseWindow);
            });
        return Level::Benign;
    };
    window.run();
}

// Controls that meet are a fault only where a person sees them meet: letters on letters, or a
// text over a frame's line; texts whose empty parts cross, and controls inside a frame, are not.
TEST_F(LayoutAuditTest, OverlapsAreTheLettersAndFramesAPersonSeesMeet)
{
    RecordingController window("sample", "P1$LAYERS");
    std::vector<std::string> faults;
    openAndLook(window,
                [&](RecordingController& self) { faults = LayoutAudit::controls(self.window()); });
    ASSERT_EQ(faults.size(), 2u) << testing::PrintToString(faults);
    EXPECT_EQ(faults[0].rfind("\"Слои\" ?ONFRAME (string): at ", 0), 0u) << faults[0];
    EXPECT_NE(faults[0].find("runs into the frame of ?GROUP"), std::string::npos) << faults[0];
    EXPECT_EQ(faults[1].rfind("\"Слои\" ?SECOND (string): at ", 0), 0u) << faults[1];
    EXPECT_NE(faults[1].find("overlaps ?FIRST"), std::string::npos) << faults[1];
}

// Each radio and each check box state is clicked as a person would, the window procedure shows
// what it shows for it, and what is wrong there is found; afterwards the window is as it was.
TEST_F(LayoutAuditTest, EveryStateAClickReachesIsLookedAtAndTheWindowLeftAsItWas)
{
    RecordingController window("sample", "P1$LAYERS");
    uint8_t kind = 1;
    uint8_t more = 0;
    window.onInit = [&](RecordingController& self) {
        self.window().bind("KIND", kind);
        self.window().bind("MORE", more);
        return Level::Benign;
    };
    window.onAccepted = [&](RecordingController& self) {
        Window& w = self.window();
        if (self.accepted() == w.number("?KIND")) {
            w.update();
            kind == 2 ? w.unhide(w.number("?LONG")) : w.hide(w.number("?LONG"));
        }
        if (self.accepted() == w.number("?MORE")) {
            w.update();
            for (const char* label : {"?EXTRA", "?OVERLAP"})
                more == 1 ? w.unhide(w.number(label)) : w.hide(w.number(label));
        }
        return Level::Benign;
    };
    std::vector<std::string> faults;
    std::string after;
    openAndLook(window, [&](RecordingController& self) {
        faults = LayoutAudit::everyState(self.window());
        Window& w = self.window();
        after = w.control("?R1")->state() + "|" + w.control("?MORE")->state() + "|" +
                (w.isShown(*w.control("?LONG")) ? "long" : "") +
                (w.isShown(*w.control("?EXTRA")) ? "extra" : "");
    });
    const auto found = [&](const std::string& start, const std::string& part) {
        return std::any_of(faults.begin(), faults.end(), [&](const std::string& fault) {
            return fault.rfind(start, 0) == 0 && fault.find(part) != std::string::npos;
        });
    };
    EXPECT_TRUE(found("\"Слои\" ?LONG (string): text ", "needs")) << testing::PrintToString(faults);
    EXPECT_TRUE(found("\"Слои\" ?OVERLAP (string): at ", "overlaps ?EXTRA"))
        << testing::PrintToString(faults);
    // The faults of the first state are there once each.
    EXPECT_EQ(std::count_if(faults.begin(), faults.end(),
                            [](const std::string& f) { return f.find("?SECOND") != f.npos; }),
              1);
    EXPECT_EQ(after, "chosen|unchecked|");
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(more, 0);
}

// The tabs of a sheet are clicked too; a window without faults has none in any state.
TEST_F(LayoutAuditTest, EveryTabIsClickedAndTheFirstIsCurrentAgainAfterwards)
{
    RecordingController window("sample", "P1$WINDOW");
    std::vector<std::string> faults;
    std::string tabAfter;
    std::string choice;
    openAndLook(window, [&](RecordingController& self) {
        faults = LayoutAudit::everyState(self.window());
        tabAfter = self.window().control("?SHEET")->state();
        choice = "newselection " + std::to_string(self.window().number("?SHEET")) + " @1";
    });
    EXPECT_TRUE(faults.empty()) << testing::PrintToString(faults);
    EXPECT_EQ(tabAfter, "tab 1");
    // The sheet told the window of each choice of a tab: the second, and the first again.
    EXPECT_EQ(std::count(window.log.begin(), window.log.end(), choice), 2)
        << testing::PrintToString(window.log);
}

} // namespace
