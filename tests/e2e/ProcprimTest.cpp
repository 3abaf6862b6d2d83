#include "ProgramSession.h"

#include "app/dictionary/Dictionary.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/InPlaceEditor.h"
#include "platform/ui/list/ListControl.h"
#include "tests/support/TempWorkFolder.h"

#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

using namespace platform::ui;
using platform::text::cp1251ToUtf8;
using platform::text::w;

namespace {

constexpr const char* Title = "Справочник применяемости";

// name and mark of every type in name order (UTF-8).
std::vector<e2e::MarkedName> typesInFile()
{
    std::vector<e2e::MarkedName> out;
    auto& file = app::SPRPR();
    if (file.open() != 0)
        return out;
    file.setKey(app::SP_ponaim);
    while (file.next() == 0)
        out.push_back({cp1251ToUtf8(app::SP().NAIM.str()), app::SP().M});
    file.close();
    return out;
}

std::vector<std::string> names(const std::vector<e2e::MarkedName>& types)
{
    std::vector<std::string> out;
    for (const auto& type : types)
        out.push_back(type.name);
    return out;
}

ListControl* browse()
{
    return dynamic_cast<ListControl*>(TestDriver::findControl("?BROWSE:1"));
}

std::string highlightedRow()
{
    ListControl* list = browse();
    if (!list || list->list()->highlighted() < 0)
        return {};
    return cp1251ToUtf8(list->rows().at(static_cast<std::size_t>(list->list()->highlighted())));
}

std::string locatorText()
{
    Control* shown = TestDriver::findControl("?SP:NAIM");
    return shown ? cp1251ToUtf8(shown->text()) : std::string("(none)");
}

int windowsTitled(const std::string& title)
{
    int count = 0;
    for (Window* window : ThreadRegistry::openWindows())
        if (cp1251ToUtf8(window->title()) == title)
            ++count;
    return count;
}

// The window as the user sees it: its frame with the title when it is shown whole, otherwise
// the client area with the controls.
QPixmap screenshotOf(Window& window)
{
    QWidget* top = window.topWidget();
    QWidget* content = window.content();
    if (top && top->isMinimized())
        top->showNormal();
    if (top && content && top->width() >= content->width() && top->height() > content->height())
        return top->grab();
    return content ? content->grab() : QPixmap();
}

void saveScreenshotWhenAsked()
{
    const QString folder = qEnvironmentVariable("QUELB_LIST_SCREENSHOTS");
    if (folder.isEmpty() || !TestDriver::topWindow())
        return;
    screenshotOf(*TestDriver::topWindow()).save(folder + QStringLiteral("/procprim.png"),
                                                      "PNG");
}

TEST(Procprim, EditsNamesOnlyAndKeepsTheMarks)
{
    testsupport::TempWorkFolder folder;
    e2e::writeApplicabilityTypes({{"Грузовые", 1}, {"Легковые", 0}});
    e2e::writeManufacturers({{"Bosch", 0}});
    std::vector<e2e::MarkedName> whileOpen;
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справочник применяемости")
        .waitOpen(Title)
        .call(saveScreenshotWhenAsked)
        .press("?INSERT:2")
        .call([] { browse()->editor()->setCellText(0, w("Автобусы")); })
        .key("?BROWSE:1", "Enter")
        // A second type of the same name in other letter case is refused.
        .press("?INSERT:2")
        .call([] { browse()->editor()->setCellText(0, w("ЛЕГКОВЫЕ")); })
        .answerMessage(Button::Ok)
        .key("?BROWSE:1", "Enter")
        .key("?BROWSE:1", "Esc")
        // Renaming keeps the selection mark the record holds.
        .call([] { ASSERT_TRUE(browse()->selectRow(2)); })
        .press("?CHANGE:2")
        .call([] { browse()->editor()->setCellText(0, w("Грузовые и тягачи")); })
        .key("?BROWSE:1", "Enter")
        .call([&] { whileOpen = typesInFile(); })
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    ASSERT_EQ(whileOpen.size(), 3u);
    EXPECT_EQ(names(whileOpen),
              (std::vector<std::string>{"Автобусы", "Грузовые и тягачи", "Легковые"}));
    EXPECT_EQ(whileOpen[1].mark, 1);
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, InPlaceEditor::duplicateMessage());
}

TEST(Procprim, EveryStartOpensAnotherCopyOverTheSameFile)
{
    testsupport::TempWorkFolder folder;
    e2e::writeApplicabilityTypes({{"Легковые", 0}});
    e2e::writeManufacturers({{"Bosch", 0}});
    int copies = 0;
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справочник применяемости")
        .waitOpen(Title)
        .menu("Справочник применяемости")
        .call([&] { copies = windowsTitled(Title); })
        .press("?CLOSE")
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(copies, 2);
}

TEST(Procprim, TypeAheadShowsTheTypedTextAndFindsTheTypeIgnoringCase)
{
    testsupport::TempWorkFolder folder;
    e2e::writeApplicabilityTypes(
        {{"Bus", 0}, {"minibus", 0}, {"Moto", 0}, {"Motorhome", 0}, {"Truck", 0}});
    e2e::writeManufacturers({{"Bosch", 0}});
    std::string afterM, afterMot, afterBack, shown, shownAfterBack;
    TestDriver driver;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справочник применяемости")
        .waitOpen(Title)
        .key("?BROWSE:1", "M")
        .call([&] { afterM = highlightedRow(); })
        .key("?BROWSE:1", "O")
        .key("?BROWSE:1", "T")
        .key("?BROWSE:1", "O")
        .key("?BROWSE:1", "R")
        .call([&] {
            afterMot = highlightedRow();
            shown = locatorText();
        })
        .key("?BROWSE:1", "Backspace")
        .key("?BROWSE:1", "Backspace")
        .call([&] {
            afterBack = highlightedRow();
            shownAfterBack = locatorText();
        })
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(afterM, "minibus");
    EXPECT_EQ(afterMot, "Motorhome");
    EXPECT_EQ(shown, "motor");
    EXPECT_EQ(afterBack, "Moto");
    EXPECT_EQ(shownAfterBack, "mot");
}

} // namespace
