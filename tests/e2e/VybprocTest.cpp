#include "ProgramSession.h"

#include "app/dictionary/Dictionary.h"
#include "app/vybproc/Vybproc.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/LayoutAudit.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ScreenReach.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/ListControl.h"
#include "platform/ui/list/ListView.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform::ui;
using platform::text::cp1251ToUtf8;

namespace {

constexpr const char* Title = "Выборка";

void click(const char* list, int row, bool onIcon)
{
    e2e::clickListRow(list, row, onIcon);
}

std::string shownText(const char* label)
{
    Control* control = TestDriver::findControl(label);
    std::string text = control ? cp1251ToUtf8(control->text()) : "<none>";
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

class Vybproc : public ::testing::Test
{
protected:
    void SetUp() override
    {
        e2e::writeManufacturers({{"Bosch", 0}, {"Ardo", 0}, {"Valeo", 7}});
        e2e::writeApplicabilityTypes({{"Легковые", 0}, {"Грузовые", 0}});
        app::DictionaryInit();
    }
    void TearDown() override { app::DictionaryKill(); }

    // Runs the dialog with the driver's commands; the result string, failures in m_failure.
    std::string runDialog(TestDriver& driver, std::string_view phrase, uint8_t applicability,
                          uint8_t manufacturer, uint8_t onlyTypes = 0, uint8_t onlyMakers = 0)
    {
        bool done = false;
        driver.start(
            [&](const std::string& result) {
                done = true;
                m_failure = result;
            },
            15000);
        const std::string result =
            app::vybproc(phrase, applicability, manufacturer, onlyTypes, onlyMakers);
        QElapsedTimer waited;
        waited.start();
        while (!done && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!done)
            m_failure = "the driver did not finish";
        return result;
    }

    static std::vector<std::string> texts(const TestDriver& driver)
    {
        std::vector<std::string> out;
        for (const MessageRequest& request : driver.messages())
            out.push_back(cp1251ToUtf8(request.caption) + ": " + cp1251ToUtf8(request.text));
        return out;
    }

    testsupport::TempWorkFolder m_folder;
    std::string m_failure;
};

// The picture of the dialog for the documentation: QUELB_VYBPROC_SCREENSHOT names the PNG file.
void saveScreenshotWhenAsked()
{
    const QString file = qEnvironmentVariable("QUELB_VYBPROC_SCREENSHOT");
    if (file.isEmpty() || !TestDriver::topWindow() || !TestDriver::topWindow()->topWidget())
        return;
    TestDriver::topWindow()->topWidget()->grab().save(file, "PNG");
}

} // namespace

TEST_F(Vybproc, OnlyALeftClickOnTheIconTogglesAndCloseKeepsTheMarks)
{
    TestDriver driver;
    std::string countAfterName;
    std::string countAfterIcons;
    std::vector<std::vector<std::string>> icons;
    // Manufacturers by name: Ardo, Bosch, Valeo (whose stored 7 is not a mark).
    driver.waitOpen(Title)
        .call([] { click("?LIST:2", 2, false); })
        .call([&] { countAfterName = shownText("?VSP"); })
        .call([] { click("?LIST:2", 1, true); })
        .call([] { click("?LIST:2", 3, true); })
        .key("?LIST:2", "Down")
        .call([&] { countAfterIcons = shownText("?VSP"); })
        .call([&] {
            for (const char* label : {"?LIST:2", "?LIST"})
                if (auto* list = dynamic_cast<ListControl*>(TestDriver::findControl(label)))
                    icons.push_back(list->iconList());
        })
        .call([] { saveScreenshotWhenAsked(); })
        .press("?BUTTON2")
        .waitClose(Title);
    const std::string result = runDialog(driver, "", 0, 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(result, std::string(55, ' '));
    EXPECT_EQ(countAfterName, "0");
    EXPECT_EQ(countAfterIcons, "1");
    // An unmarked row shows an empty box, a marked one a ticked box (not a crossed one).
    const std::vector<std::string> boxes{"U+2610", "U+2611"};
    EXPECT_EQ(icons, (std::vector<std::vector<std::string>>{boxes, boxes}));
    // File order: Bosch, Ardo, Valeo; Ardo ticked, Valeo's 7 toggled to 0.
    EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{0, 1, 0}));
}

TEST_F(Vybproc, ApplyChecksComeInTheirOrderOneMessageAPress)
{
    TestDriver driver;
    driver.waitOpen(Title)
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .call([] { click("?LIST:2", 1, true); })
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .call([] { click("?LIST", 1, true); })
        .press("?OPTION1:RADIO2")
        .type("?STRVYB", "   ")
        .answerMessage(Button::Ok)
        .press("?BUTTON1")
        .type("?STRVYB", "Бош")
        .press("?BUTTON1")
        .waitClose(Title);
    // Both the manufacturer and the type checks would fail at the first press.
    const std::string result = runDialog(driver, "", 2, 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(
        texts(driver),
        (std::vector<std::string>{
            "Ошибка: Выбран отбор по производителю из списка, но не один производитель не "
            "помечен!",
            "Ошибка: Выбран отбор по применяемости из списка, но не один тип применяемости не "
            "помечен!",
            "Ошибка: Выбран отбор применяемости по фразе, но фраза не введена!"}));
    ASSERT_EQ(result.size(), 55u);
    EXPECT_EQ(cp1251ToUtf8(result.substr(0, 5)), "11Бош");
    EXPECT_EQ(result.substr(5), std::string(47, ' ') + "00 ");
}

TEST_F(Vybproc, AppliedResultCarriesModesBlankPhraseAndFlags)
{
    e2e::writeManufacturers({{"Bosch", 1}});
    TestDriver driver;
    driver.waitOpen(Title).press("?BUTTON1").waitClose(Title);
    const std::string result = runDialog(driver, "", 0, 1, 0, 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(result, "01" + std::string(50, ' ') + "01 ");
}

TEST_F(Vybproc, ShowOnlyMarkedSkipsTheNextClickAndHidesUnmarkedRows)
{
    e2e::writeManufacturers({{"Bosch", 1}, {"Ardo", 1}});
    TestDriver driver;
    std::string countBefore;
    std::string countAfter;
    size_t rowsAfter = 0;
    driver.waitOpen(Title)
        .press("?TTT")
        .call([] { click("?LIST:2", 1, true); }) // skipped: first selection after the box
        .call([&] { countBefore = shownText("?VSP"); })
        .call([] { click("?LIST:2", 1, true); })
        .call([&] {
            countAfter = shownText("?VSP");
            rowsAfter = TestDriver::findControl("?LIST:2")->rows().size();
        })
        .press("?BUTTON2")
        .waitClose(Title);
    runDialog(driver, "", 0, 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(countBefore, "2");
    EXPECT_EQ(countAfter, "1");
    EXPECT_EQ(rowsAfter, 1u);
    EXPECT_EQ(e2e::manufacturerMarks(), (std::vector<uint8_t>{1, 0}));
}

namespace {

// Where a list shows its check boxes: the first column's left edge in its viewport, and how
// far the list could scroll sideways.
struct Sideways
{
    int boxesAt = -1;
    int scrolled = -1;
    int reach = -1;
};

Sideways sideways(const char* list)
{
    Sideways seen;
    if (auto* control = dynamic_cast<ListControl*>(TestDriver::findControl(list))) {
        ListView* view = control->view();
        seen.boxesAt = view->visualRect(view->model()->index(0, 0)).left();
        seen.scrolled = view->horizontalScrollBar()->value();
        seen.reach = view->horizontalScrollBar()->maximum();
    }
    return seen;
}

// The names fit their lists, so neither list scrolls sideways, and a click on a name leaves
// the check boxes where they were.
TEST_F(Vybproc, AClickOnANameKeepsTheCheckBoxesInView)
{
    TestDriver driver;
    Sideways makers, types;
    driver.waitOpen(Title)
        .call([] { click("?LIST:2", 2, false); })
        .call([] { click("?LIST", 1, false); })
        .call([&] {
            makers = sideways("?LIST:2");
            types = sideways("?LIST");
        })
        .press("?BUTTON2")
        .waitClose(Title);
    runDialog(driver, "", 2, 1);
    EXPECT_EQ(m_failure, "");
    EXPECT_EQ(makers.reach, 0);
    EXPECT_EQ(types.reach, 0);
    EXPECT_EQ(makers.scrolled, 0);
    EXPECT_EQ(types.scrolled, 0);
    EXPECT_EQ(makers.boxesAt, 0);
    EXPECT_EQ(types.boxesAt, 0);
}

// Every state the options and check boxes lead to, looked at as a person would: the counts
// stand clear of their labels, the check boxes of their frames, every text and header whole.
TEST_F(Vybproc, EveryStateOfTheDialogIsSeenWhole)
{
    TestDriver driver;
    std::vector<std::string> faults;
    driver.waitOpen(Title)
        .call([&] { faults = LayoutAudit::everyState(*TestDriver::topWindow()); })
        .press("?BUTTON2")
        .waitClose(Title);
    runDialog(driver, "", 0, 0);
    EXPECT_EQ(m_failure, "");
    EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
}

} // namespace
