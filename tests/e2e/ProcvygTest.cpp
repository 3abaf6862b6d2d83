#include "app/procvyg/Procvyg.h"
#include "app/dictionary/Dictionary.h"
#include "app/ordertext/OrderTextFormat.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Control.h"
#include "platform/ui/Property.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/Window.h"
#include "tests/support/TempWorkFolder.h"

#include "ProgramSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace platform::ui;
using platform::text::w;

namespace {

// Which control has the focus does not matter to these checks.
std::string withoutFocus(std::string dump)
{
    for (std::size_t at; (at = dump.find(" focus")) != std::string::npos;)
        dump.erase(at, 6);
    return dump;
}

constexpr const char* Title = "Сохранение/Выгрузка заказа";
const std::string Prompt = "<- Задайте имя файла для сохранения заказа";

TEST(ProcvygExtension, AppendedUnlessExactlyPresent)
{
    using app::Procvyg;
    EXPECT_EQ(Procvyg::withExtension("order", false), "order.txt");
    EXPECT_EQ(Procvyg::withExtension("order.txt   ", false), "order.txt");
    EXPECT_EQ(Procvyg::withExtension("ORDER.TXT", false), "ORDER.TXT.txt");
    EXPECT_EQ(Procvyg::withExtension("order.txt", true), "order.txt.xls");
    EXPECT_EQ(Procvyg::withExtension("a.xls", true), "a.xls");
    EXPECT_EQ(Procvyg::withReplacedExtension("dir/order.txt", true), "dir/order.xls");
    EXPECT_EQ(Procvyg::withReplacedExtension("dir/order.xls  ", false), "dir/order.txt");
    // The last four characters go whatever they are.
    EXPECT_EQ(Procvyg::withReplacedExtension("ORDER.TXT.txt", true), "ORDER.TXT.xls");
    EXPECT_EQ(Procvyg::withReplacedExtension("abc", false), ".txt");
}

class Procvyg : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        addLine(1, "Б-имя", "Вектор");
        addLine(2, "А-имя", "Ардо");
        addLine(3, "В-имя", "Бриз");
    }
    void TearDown() override
    {
        app::RelateKORZAK->close();
        app::DictionaryKill();
    }

    static void addLine(int32_t code, const char* name, const char* maker)
    {
        app::KORZAK().clearBuffer();
        app::K().KOD = code;
        app::K().NAIM = w(name);
        app::K().PROIZV = w(maker);
        app::K().KOL = 1;
        app::K().CENA = 2.5;
        app::K().SUMMA = 2.5;
        ASSERT_EQ(app::KORZAK().add(), 0);
    }

    // Runs the window with the driver's commands; what failed, or "".
    static std::string runWindow(TestDriver& driver, int32_t tab = 1)
    {
        return e2e::runAlongside(driver, [&] { app::procvyg(tab, 0); }, 15000);
    }

    static std::string shownName()
    {
        std::string text = platform::text::cp1251ToUtf8(TestDriver::findControl("?FNAME1")->text());
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        return text;
    }
    static int nameColour()
    {
        Window& top = *TestDriver::topWindow();
        return top.propertyNumber(top.number("?FNAME1"), Property::FontColour);
    }

    std::string path(const std::string& name) const { return (m_folder.path() / name).string(); }

    testsupport::TempWorkFolder m_folder;
};

} // namespace

TEST_F(Procvyg, ExecuteWithoutANameSaysSoAndStaysOpen)
{
    TestDriver driver;
    std::string name;
    int focus = 0;
    driver.waitOpen(Title)
        .answerMessage(Button::Ok)
        .press("?BUTTON2")
        .call([&] {
            name = shownName();
            focus = TestDriver::topWindow()->focus();
        })
        .press("?BUTTON3")
        .waitClose(Title);
    EXPECT_EQ(runWindow(driver), "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, w("Не задано имя файла для сохранения!"));
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
    EXPECT_EQ(name.rfind(Prompt, 0), 0u);
    EXPECT_EQ(focus, 5);
    EXPECT_TRUE(std::filesystem::is_empty(m_folder.path()) ||
                !std::filesystem::exists(m_folder.file("order.txt")));
}

TEST_F(Procvyg, FormatChangeReplacesTheExtension)
{
    TestDriver driver;
    std::string beforeName, chosen, asWorkbook, asText;
    int colour = 0;
    driver.waitOpen(Title)
        .press("?OPTION1:RADIO2")
        .call([&] { beforeName = shownName(); })
        .press("?OPTION1:RADIO1")
        .answerFile(path("order"))
        .press("?BUTTON1")
        .call([&] {
            chosen = shownName();
            colour = nameColour();
        })
        .press("?OPTION1:RADIO2")
        .call([&] { asWorkbook = shownName(); })
        .press("?OPTION1:RADIO1")
        .call([&] { asText = shownName(); })
        .press("?BUTTON3")
        .waitClose(Title);
    EXPECT_EQ(runWindow(driver), "");
    EXPECT_EQ(beforeName.rfind(Prompt, 0), 0u) << "no name yet: nothing to change";
    EXPECT_EQ(chosen, path("order.txt"));
    EXPECT_EQ(colour, 0xFF0000);
    EXPECT_EQ(asWorkbook, path("order.xls"));
    EXPECT_EQ(asText, path("order.txt"));
}

TEST_F(Procvyg, CapitalExtensionGetsTxtAppendedAndTheOrderIsSaved)
{
    TestDriver driver;
    std::string chosen;
    driver.waitOpen(Title)
        .answerFile(path("ORDER.TXT"))
        .press("?BUTTON1")
        .call([&] { chosen = shownName(); })
        .type("?KOMMENT", "Срочно")
        .answerMessage(Button::Ok)
        .press("?BUTTON2")
        .waitClose(Title);
    EXPECT_EQ(runWindow(driver, 5), "");
    EXPECT_EQ(chosen, path("ORDER.TXT.txt"));
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, w("Файл заказа сформирован."));
    EXPECT_EQ(driver.messages()[0].caption, w("Сообщение"));
    const std::string file = testsupport::readFileBytes(m_folder.file("ORDER.TXT.txt"));
    // Tab 5: manufacturer order (Ардо, Бриз, Вектор); the comment is the last header line.
    const std::string lines = w("#Комментарий к заказу: Срочно\r\n"
                                "2;;А-имя;Ардо;1;2.5;2.5\r\n"
                                "3;;В-имя;Бриз;1;2.5;2.5\r\n"
                                "1;;Б-имя;Вектор;1;2.5;2.5\r\n");
    ASSERT_GE(file.size(), lines.size());
    EXPECT_EQ(file.substr(file.size() - lines.size()), lines);
}

TEST_F(Procvyg, CancelledDialogRestoresTheRedPrompt)
{
    TestDriver driver;
    std::string chosen, afterCancel;
    int colour = 0;
    driver.waitOpen(Title)
        .answerFile(path("order.txt"))
        .press("?BUTTON1")
        .call([&] { chosen = shownName(); })
        .answerFile(std::nullopt)
        .press("?BUTTON1")
        .call([&] {
            afterCancel = shownName();
            colour = nameColour();
        })
        .answerMessage(Button::Ok)
        .press("?BUTTON2")
        .press("?BUTTON3")
        .waitClose(Title);
    EXPECT_EQ(runWindow(driver), "");
    EXPECT_EQ(chosen, path("order.txt"));
    EXPECT_EQ(afterCancel.rfind(Prompt, 0), 0u);
    EXPECT_EQ(colour, 0x0000FF);
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text, w("Не задано имя файла для сохранения!"));
    EXPECT_FALSE(std::filesystem::exists(m_folder.file("order.txt")));
}

TEST_F(Procvyg, FileThatCannotBeWrittenIsAnErrorAndTheWindowStays)
{
    TestDriver driver;
    bool stillOpen = false;
    driver.waitOpen(Title)
        .answerFile(path("missing-folder/order"))
        .press("?BUTTON1")
        .answerMessage(Button::Ok)
        .press("?BUTTON2")
        .waitOpen(Title)
        .call([&] {
            QElapsedTimer pause;
            pause.start();
            while (pause.elapsed() < 300)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            stillOpen = TestDriver::topWindow() != nullptr;
        })
        .press("?BUTTON3")
        .waitClose(Title);
    EXPECT_EQ(runWindow(driver), "");
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].caption, w("Ошибка"));
    EXPECT_EQ(driver.messages()[0].text.rfind(w("Не удалось записать файл заказа"), 0), 0u);
}

TEST_F(Procvyg, MailChoiceShowsAndHidesTheManagerListOfBothColumns)
{
    ASSERT_EQ(app::RelateSPRMAN->open(), 0);
    for (const char* name : {"Петров", "Агеев"}) {
        app::SPRMAN().clearBuffer();
        app::SPR().NAME = w(name);
        app::SPR().KMAIL =
            w(std::string(name) == "Агеев" ? "ageev@example.ru" : "petrov@example.ru");
        ASSERT_EQ(app::SPRMAN().add(), 0);
    }
    app::RelateSPRMAN->close();
    TestDriver driver;
    std::string atStart, ticked, chosen, unticked;
    driver.waitOpen(Title)
        .dump([&](const std::string& text) { atStart = withoutFocus(e2e::withoutPlaces(text)); })
        .press("?FLGMAIL")
        .dump([&](const std::string& text) { ticked = withoutFocus(e2e::withoutPlaces(text)); })
        .select("?SPR:NAME", 2)
        .dump([&](const std::string& text) { chosen = withoutFocus(e2e::withoutPlaces(text)); })
        .press("?FLGMAIL")
        .dump([&](const std::string& text) { unticked = withoutFocus(e2e::withoutPlaces(text)); })
        .press("?BUTTON3")
        .waitClose(Title);
    EXPECT_EQ(runWindow(driver), "");
    const std::string box = "15 ?FLGMAIL check \"Отправить сформированный файл заказа  по "
                            "электронной почте через Microsoft Outlook\"";
    EXPECT_NE(atStart.find(box + " unchecked"), std::string::npos) << atStart;
    EXPECT_NE(atStart.find("9 ?GROUP3 group \"\"\n"), std::string::npos) << atStart;
    EXPECT_NE(atStart.find("10 ?STRING2 string \"Ваш менеджер:\" hidden"), std::string::npos);
    EXPECT_NE(ticked.find(box + " checked"), std::string::npos) << ticked;
    EXPECT_NE(ticked.find("10 ?STRING2 string \"Ваш менеджер:\"\n"), std::string::npos) << ticked;
    EXPECT_EQ(ticked.find("?SPR:NAME droplist \"\" hidden"), std::string::npos) << ticked;
    // Both columns, in name order.
    const auto first = ticked.find("row 1 \"Агеев | ageev@example.ru\"");
    EXPECT_NE(first, std::string::npos) << ticked;
    EXPECT_NE(ticked.find("row 2 \"Петров | petrov@example.ru\"", first), std::string::npos);
    // The chosen manager as the list shows it, not the address copied behind it.
    EXPECT_NE(chosen.find("?SPR:NAME droplist \"Петров\""), std::string::npos) << chosen;
    EXPECT_NE(unticked.find("10 ?STRING2 string \"Ваш менеджер:\" hidden"), std::string::npos)
        << unticked;
}
