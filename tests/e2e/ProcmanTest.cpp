#include "ProgramSession.h"

#include "app/dictionary/Dictionary.h"
#include "app/procman/Procman.h"
#include "platform/storage/LogicalThread.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/InPlaceEditor.h"
#include "platform/ui/list/ListControl.h"
#include "tests/support/TempWorkFolder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QWidget>

#include <gtest/gtest.h>

#include <utility>

using namespace platform::ui;
using platform::text::cp1251ToUtf8;
using platform::text::w;

namespace {

constexpr const char* Title = "Справочник менеджеров";

// The reference files the exit batch walks get a record each, so the program ends quietly.
void writeQuietFiles()
{
    e2e::writeApplicabilityTypes({{"Легковые", 0}});
    e2e::writeManufacturers({{"Bosch", 0}});
}

void writeManagers(const std::vector<std::pair<std::string, std::string>>& managers)
{
    auto& file = app::SPRMAN();
    ASSERT_EQ(file.create(), 0);
    ASSERT_EQ(file.open(), 0);
    for (const auto& [name, mail] : managers) {
        file.clearBuffer();
        app::SPR().NAME = w(name);
        app::SPR().KMAIL = w(mail);
        ASSERT_EQ(file.add(), 0);
    }
    file.close();
}

// name | mail of every record in name order (UTF-8).
std::vector<std::string> managersInFile()
{
    std::vector<std::string> out;
    auto& file = app::SPRMAN();
    if (file.open() != 0)
        return out;
    file.setKey(app::SPR_poname);
    while (file.next() == 0)
        out.push_back(cp1251ToUtf8(app::SPR().NAME.str() + " | " + app::SPR().KMAIL.str()));
    file.close();
    return out;
}

ListControl* browse()
{
    return dynamic_cast<ListControl*>(TestDriver::findControl("?BROWSE:1"));
}

std::vector<std::string> shownRows()
{
    std::vector<std::string> out;
    if (ListControl* list = browse())
        for (const std::string& row : list->rows())
            out.push_back(cp1251ToUtf8(row));
    return out;
}

std::string highlightedRow()
{
    ListControl* list = browse();
    if (!list || list->list()->highlighted() < 0)
        return {};
    return shownRows().at(static_cast<std::size_t>(list->list()->highlighted()));
}

int rowOf(const std::string& text)
{
    const auto rows = shownRows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i] == text)
            return static_cast<int>(i) + 1;
    return 0;
}

// Types into the open row's entries as the user would.
std::function<void()> typeRow(std::string name, std::string mail)
{
    return [name = std::move(name), mail = std::move(mail)] {
        InPlaceEditor* editor = browse() ? browse()->editor() : nullptr;
        ASSERT_TRUE(editor && editor->isEditing());
        editor->setCellText(0, w(name));
        editor->setCellText(1, w(mail));
    };
}

bool editing()
{
    return browse() && browse()->editor() && browse()->editor()->isEditing();
}

void typeCharacter(const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QCoreApplication::sendEvent(browse()->widget(), &press);
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

// The picture of the window for the documentation: QUELB_LIST_SCREENSHOTS names a folder.
void saveScreenshotWhenAsked(const char* name)
{
    const QString folder = qEnvironmentVariable("QUELB_LIST_SCREENSHOTS");
    if (folder.isEmpty() || !TestDriver::topWindow())
        return;
    screenshotOf(*TestDriver::topWindow()).save(folder + QLatin1Char('/') +
                                                      QLatin1String(name), "PNG");
}

int windowsTitled(const std::string& title)
{
    int count = 0;
    for (Window* window : ThreadRegistry::openWindows())
        if (cp1251ToUtf8(window->title()) == title)
            ++count;
    return count;
}

TEST(Procman, AddsChangesAndDeletesInPlace)
{
    testsupport::TempWorkFolder folder;
    writeQuietFiles();
    writeManagers({{"Петров", "petrov@torn.ru"}, {"Иванов", "ivanov@torn.ru"}});
    TestDriver driver;
    std::vector<std::string> opened, afterAdd, afterChange, afterKeptDelete;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справочник менеджеров")
        .waitOpen(Title)
        .call([&] { opened = shownRows(); })
        .call([] { saveScreenshotWhenAsked("procman.png"); })
        // Add.
        .press("?INSERT:2")
        .call(typeRow("Сидоров", "sidorov@torn.ru"))
        .key("?BROWSE:1", "Enter")
        .call([&] {
            afterAdd = managersInFile();
            EXPECT_FALSE(editing());
            EXPECT_EQ(highlightedRow(), "Сидоров | sidorov@torn.ru");
        })
        // Change the highlighted manager's e-mail.
        .call([] { ASSERT_TRUE(browse()->selectRow(rowOf("Петров | petrov@torn.ru"))); })
        .press("?CHANGE:2")
        .call(typeRow("Петров", "p.petrov@torn.ru"))
        .key("?BROWSE:1", "Enter")
        .call([&] { afterChange = managersInFile(); })
        // Delete: "No" keeps the record, "Yes" deletes it.
        .call([] { ASSERT_TRUE(browse()->selectRow(rowOf("Иванов | ivanov@torn.ru"))); })
        .answerMessage(Button::No)
        .press("?DELETE:2")
        .call([&] { afterKeptDelete = managersInFile(); })
        .answerMessage(Button::Yes)
        .press("?DELETE:2")
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");

    EXPECT_EQ(opened, (std::vector<std::string>{"Иванов | ivanov@torn.ru", "Петров | petrov@torn.ru"}));
    EXPECT_EQ(afterAdd, (std::vector<std::string>{"Иванов | ivanov@torn.ru",
                                                  "Петров | petrov@torn.ru",
                                                  "Сидоров | sidorov@torn.ru"}));
    EXPECT_EQ(afterChange, (std::vector<std::string>{"Иванов | ivanov@torn.ru",
                                                     "Петров | p.petrov@torn.ru",
                                                     "Сидоров | sidorov@torn.ru"}));
    EXPECT_EQ(afterKeptDelete, afterChange);
    EXPECT_EQ(managersInFile(), (std::vector<std::string>{"Петров | p.petrov@torn.ru",
                                                          "Сидоров | sidorov@torn.ru"}));
    ASSERT_EQ(driver.messages().size(), 2u);
    EXPECT_EQ(driver.messages()[0].text, InPlaceEditor::deleteQuestion());
}

TEST(Procman, DuplicateManagerIsRefusedAndTheSameNameWithAnotherMailIsKept)
{
    testsupport::TempWorkFolder folder;
    writeQuietFiles();
    writeManagers({{"Иванов", "ivanov@torn.ru"}});
    TestDriver driver;
    bool stillEditing = false;
    std::vector<std::string> afterRefusal;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справочник менеджеров")
        .waitOpen(Title)
        .press("?INSERT:2")
        // Letter case does not make another manager.
        .call(typeRow("ИВАНОВ", "IVANOV@TORN.RU"))
        .answerMessage(Button::Ok)
        .key("?BROWSE:1", "Enter")
        .call([&] {
            stillEditing = editing();
            afterRefusal = managersInFile();
            // What was typed is still there to be corrected.
            EXPECT_EQ(cp1251ToUtf8(browse()->editor()->cellText(0)), "ИВАНОВ");
        })
        .call(typeRow("Иванов", "ivanov.s@torn.ru"))
        .key("?BROWSE:1", "Enter")
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");

    EXPECT_TRUE(stillEditing);
    EXPECT_EQ(afterRefusal, (std::vector<std::string>{"Иванов | ivanov@torn.ru"}));
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, InPlaceEditor::duplicateMessage());
    EXPECT_EQ(managersInFile(), (std::vector<std::string>{"Иванов | ivanov.s@torn.ru",
                                                          "Иванов | ivanov@torn.ru"}));
}

TEST(Procman, ArrowKeysSaveTheRowAndEditTheNextInTheSameColumnAndEscDropsTheEdit)
{
    testsupport::TempWorkFolder folder;
    writeQuietFiles();
    writeManagers({{"Алексеев", "a@torn.ru"}, {"Борисов", "b@torn.ru"}, {"Васильев", "v@torn.ru"}});
    TestDriver driver;
    int editRow = -1;
    int editColumn = -1;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справочник менеджеров")
        .waitOpen(Title)
        .call([] { ASSERT_TRUE(browse()->selectRow(1)); })
        .call([] { browse()->editor()->change(1); })
        .call([] { browse()->editor()->setCellText(1, "alekseev@torn.ru"); })
        .key("?BROWSE:1", "Down")
        .call([&] {
            editRow = browse()->editor()->editRow();
            editColumn = browse()->editor()->editColumn();
            browse()->editor()->setCellText(1, "changed but dropped");
        })
        .key("?BROWSE:1", "Esc")
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(editRow, 1);
    EXPECT_EQ(editColumn, 1);
    EXPECT_EQ(managersInFile(), (std::vector<std::string>{"Алексеев | alekseev@torn.ru",
                                                          "Борисов | b@torn.ru",
                                                          "Васильев | v@torn.ru"}));
}

TEST(Procman, SecondStartOpensNothingAndAfterClosingANewWindowOpens)
{
    testsupport::TempWorkFolder folder;
    writeQuietFiles();
    writeManagers({{"Иванов", "ivanov@torn.ru"}});
    TestDriver driver;
    int afterTwoStarts = 0;
    int afterReopen = 0;
    int32_t threadWhileOpen = 0;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справочник менеджеров")
        .waitOpen(Title)
        .call([&] { threadWhileOpen = app::ProcmanThread; })
        .menu("Справочник менеджеров")
        .call([&] { afterTwoStarts = windowsTitled(Title); })
        .press("?CLOSE")
        .waitClose(Title)
        .call([] { EXPECT_EQ(app::ProcmanThread, 0); })
        .menu("Справочник менеджеров")
        .waitOpen(Title)
        .call([&] { afterReopen = windowsTitled(Title); })
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(afterTwoStarts, 1);
    EXPECT_EQ(afterReopen, 1);
    EXPECT_GT(threadWhileOpen, 1);
    EXPECT_EQ(app::ProcmanThread, 0);
}

TEST(Procman, TypingALetterMovesToTheFirstManagerAtOrAfterIt)
{
    testsupport::TempWorkFolder folder;
    writeQuietFiles();
    writeManagers({{"Adams", "a@torn.ru"}, {"miller", "m@torn.ru"}, {"Moore", "mo@torn.ru"},
                   {"Smith", "s@torn.ru"}, {"Петров", "p@torn.ru"}, {"павлов", "pv@torn.ru"}});
    TestDriver driver;
    std::string onM, onN, onCyrillic;
    driver.waitOpen(e2e::FrameTitle)
        .menu("Справочник менеджеров")
        .waitOpen(Title)
        .key("?BROWSE:1", "M")
        .call([&] { onM = highlightedRow(); })
        .key("?BROWSE:1", "N")
        .call([&] { onN = highlightedRow(); })
        .call([&] {
            typeCharacter(QStringLiteral("П"));
            onCyrillic = highlightedRow();
        })
        .press("?CLOSE")
        .waitClose(Title)
        .menu("Выход");
    EXPECT_EQ(e2e::runProgram(driver), "");
    EXPECT_EQ(onM, "miller | m@torn.ru");
    EXPECT_EQ(onN, "Smith | s@torn.ru");
    EXPECT_EQ(onCyrillic, "павлов | pv@torn.ru");
}

} // namespace
