#include "platform/ui/LayoutAudit.h"

#include "RecordingController.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

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
