#include "app/dictionary/Dictionary.h"
#include "app/procvyg/Procvyg.h"
#include "platform/automation/OleContainer.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/TestDriver.h"
#include "platform/ui/Window.h"
#include "tests/support/MailUserFolders.h"
#include "tests/support/SmtpTestServer.h"
#include "tests/support/TempWorkFolder.h"

#include "ProgramSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>

#include <gtest/gtest.h>

#include <filesystem>

using namespace platform::ui;
using platform::text::w;

namespace {

constexpr const char* Title = "Сохранение/Выгрузка заказа";

// The save window with the mail choice, its mail going to an SMTP server on loopback (or to
// none), the mail store and account in temporary user folders.
class ProcvygMail : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app::DictionaryInit();
        ASSERT_EQ(app::RelateKORZAK->open(), 0);
        ASSERT_EQ(app::RelateREKV->open(), 0);
        ASSERT_EQ(app::RelateSPRMAN->open(), 0);
        app::KORZAK().clearBuffer();
        app::K().KOD = 7;
        app::K().NAIM = w("Фильтр масляный");
        app::K().PROIZV = w("Ардо");
        app::K().KOL = 2;
        app::K().CENA = 150;
        app::K().SUMMA = 300;
        ASSERT_EQ(app::KORZAK().add(), 0);
        app::REKV().clearBuffer();
        app::REK().NAIM = w("ООО Ромашка");
        ASSERT_EQ(app::REKV().add(), 0);
        app::SPRMAN().clearBuffer();
        app::SPR().NAME = w("Агеев");
        app::SPR().KMAIL = w("ageev@example.ru");
        ASSERT_EQ(app::SPRMAN().add(), 0);
        app::RelateSPRMAN->close();
        app::RelateREKV->close();
    }
    void TearDown() override
    {
        app::RelateKORZAK->close();
        app::DictionaryKill();
    }

    static std::string runWindow(TestDriver& driver)
    {
        return e2e::runAlongside(driver, [&] { app::procvyg(1, 0); }, 20000);
    }

    // Chooses the name, ticks the mail box, picks the manager and runs the save.
    TestDriver& saveAndMail(TestDriver& driver)
    {
        return driver.waitOpen(Title)
            .answerFile(path("order"))
            .press("?BUTTON1")
            .press("?FLGMAIL")
            .select("?SPR:NAME", 1)
            .answerMessage(Button::Ok) // "Файл заказа сформирован."
            .press("?BUTTON2");
    }

    // The items of a default folder of the user's mail store, as the mail server counts them.
    static int mailCount(int folder)
    {
        platform::automation::OleContainer ole;
        if (!ole.create("Outlook.Application"))
            return -1;
        const std::string ns = ole.read("GetNameSpace(\"MAPI\")");
        return std::stoi(
            "0" + ole.read(ns + ".GetDefaultFolder(" + std::to_string(folder) + ").Items.Count"));
    }

    std::string path(const std::string& name) const { return (m_folder.path() / name).string(); }

    testsupport::TempWorkFolder m_folder;
    testsupport::MailUserFolders m_user;
};

TEST_F(ProcvygMail, TheOrderGoesToTheManagerWithTheFileAttached)
{
    testsupport::SmtpTestServer server;
    if (!server.start())
        GTEST_SKIP() << server.why().toStdString();
    m_user.writeAccount(server.port());
    const int sentBefore = mailCount(5);

    TestDriver driver;
    saveAndMail(driver).answerMessage(Button::Ok).waitClose(Title, 20000);
    EXPECT_EQ(runWindow(driver), "");
    ASSERT_EQ(driver.messages().size(), 2u);
    EXPECT_EQ(driver.messages()[0].text, w("Файл заказа сформирован."));
    // The person is told the mail went, and to whom.
    EXPECT_EQ(driver.messages()[1].text, w("Заказ отправлен: Агеев, ageev@example.ru"));
    EXPECT_EQ(driver.messages()[1].caption, w("Сообщение"));

    const QStringList received = server.messagePaths();
    ASSERT_EQ(received.size(), 1);
    const QJsonObject message = testsupport::SmtpTestServer::readMessage(received[0]);
    EXPECT_EQ(message[QStringLiteral("to")].toString(), QStringLiteral("ageev@example.ru"));
    EXPECT_TRUE(
        message[QStringLiteral("rcpt")].toString().contains(QStringLiteral("ageev@example.ru")));
    EXPECT_EQ(message[QStringLiteral("subject")].toString(),
              QStringLiteral("Заказ от ООО Ромашка"));
    EXPECT_EQ(message[QStringLiteral("body")].toString().trimmed(),
              QStringLiteral("Заказ в аттачменте"));
    const QJsonArray attachments = message[QStringLiteral("attachments")].toArray();
    ASSERT_EQ(attachments.size(), 1);
    EXPECT_EQ(attachments[0][QStringLiteral("filename")].toString(), QStringLiteral("order.txt"));
    const QByteArray attached =
        QByteArray::fromBase64(attachments[0][QStringLiteral("base64")].toString().toLatin1());
    EXPECT_EQ(attached.toStdString(), testsupport::readFileBytes(m_folder.file("order.txt")));
    EXPECT_FALSE(attached.isEmpty());
    EXPECT_EQ(mailCount(5), sentBefore + 1);
    EXPECT_EQ(mailCount(4), 0);
}

TEST_F(ProcvygMail, AnUndeliveredOrderIsKeptAndTheWindowSaysWhy)
{
    m_user.writeAccount(testsupport::SmtpTestServer::freePort());
    TestDriver driver;
    std::string stillOpen, state;
    saveAndMail(driver)
        .answerMessage(Button::Ok) // the failure
        .call([&] {
            // As the user waits for the send to end: until the second box was answered.
            QElapsedTimer waited;
            waited.start();
            while (driver.messages().size() < 2 && waited.elapsed() < 15000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            stillOpen = TestDriver::topWindow() ? TestDriver::topWindow()->title() : "";
        })
        .dump([&](const std::string& text) { state = e2e::withoutPlaces(text); })
        .press("?BUTTON3")
        .waitClose(Title, 20000);
    EXPECT_EQ(runWindow(driver), "");
    ASSERT_EQ(driver.messages().size(), 2u);
    const std::string said =
        w("Заказ сохранён в файл ") + path("order.txt") + w(", но не отправлен: ");
    EXPECT_EQ(driver.messages()[1].text.rfind(said, 0), 0u)
        << platform::text::cp1251ToUtf8(driver.messages()[1].text);
    EXPECT_NE(driver.messages()[1].text.find(w("недоступен")), std::string::npos);
    EXPECT_EQ(driver.messages()[1].caption, w("Ошибка"));
    EXPECT_EQ(stillOpen, w(Title));
    // The choices are still there for another try.
    EXPECT_NE(state.find("?FLGMAIL check"), std::string::npos);
    EXPECT_NE(state.find("электронной почте через Microsoft Outlook\" checked"), std::string::npos)
        << state;
    EXPECT_NE(state.find("6 ?FNAME1 display \"" + path("order.txt")), std::string::npos) << state;
    EXPECT_NE(state.find("?SPR:NAME droplist \"Агеев\""), std::string::npos) << state;
    EXPECT_TRUE(std::filesystem::exists(m_folder.file("order.txt")));
    // Nothing would send it from there later: the outbox keeps no mail that did not go, nor do
    // the drafts.
    EXPECT_EQ(mailCount(4), 0);
    EXPECT_EQ(mailCount(5), 0);
    EXPECT_EQ(mailCount(16), 0);
}

// The user sends again once the cause is mended: the manager gets the order once, and the copy
// that did not go does not stay behind in the outbox.
TEST_F(ProcvygMail, AMailSentAgainAfterAFailureIsLeftOnce)
{
    testsupport::SmtpTestServer server;
    if (!server.start())
        GTEST_SKIP() << server.why().toStdString();
    m_user.writeAccount(testsupport::SmtpTestServer::freePort());
    TestDriver driver;
    saveAndMail(driver)
        .answerMessage(Button::Ok) // the failure
        .call([&] {
            QElapsedTimer waited;
            waited.start();
            while (driver.messages().size() < 2 && waited.elapsed() < 15000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            m_user.writeAccount(server.port()); // the account mended
        })
        .answerMessage(Button::Ok) // "Файл заказа сформирован." again
        .answerMessage(Button::Ok) // the mail went
        .press("?BUTTON2")
        .waitClose(Title, 20000);
    EXPECT_EQ(runWindow(driver), "");
    ASSERT_EQ(driver.messages().size(), 4u);
    EXPECT_EQ(driver.messages()[2].text, w("Файл заказа сформирован."));
    EXPECT_EQ(driver.messages()[3].text, w("Заказ отправлен: Агеев, ageev@example.ru"));
    EXPECT_EQ(server.messagePaths().size(), 1);
    EXPECT_EQ(mailCount(4), 0) << "nothing left in the outbox";
    EXPECT_EQ(mailCount(5), 1) << "one copy in the sent mail";
}

TEST_F(ProcvygMail, TheMailChoiceWithoutAManagerIsRefused)
{
    TestDriver driver;
    driver.waitOpen(Title)
        .answerFile(path("order"))
        .press("?BUTTON1")
        .press("?FLGMAIL")
        .answerMessage(Button::Ok)
        .press("?BUTTON2")
        .press("?BUTTON3")
        .waitClose(Title);
    EXPECT_EQ(runWindow(driver), "");
    ASSERT_EQ(driver.messages().size(), 1u);
    EXPECT_EQ(driver.messages()[0].text,
              w("Для отправки заказа по эл.почте не указан менеджер, либо у "
                "менеджера не указан адрес эл.почты!"));
    EXPECT_FALSE(std::filesystem::exists(m_folder.file("order.txt")));
    EXPECT_EQ(mailCount(4) + mailCount(5), 0);
}

} // namespace
