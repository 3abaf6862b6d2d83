#include "platform/automation/OleContainer.h"
#include "platform/automation/outlook/MailAccount.h"
#include "platform/automation/outlook/MailSession.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/MessageBox.h"
#include "tests/support/MailUserFolders.h"
#include "tests/support/SmtpTestServer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using platform::automation::OleContainer;
using platform::automation::outlook::MailAccount;
using platform::automation::outlook::MailSession;
using platform::text::w;

// Send through the channel to a real SMTP server on loopback, or to none.
class MailDelivery : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_ole.create("Outlook.Application"));
        m_previousPrompt = MailSession::setAccountPrompt([this]() -> std::optional<MailAccount> {
            ++m_asked;
            return m_promptAnswer;
        });
    }
    void TearDown() override { MailSession::setAccountPrompt(m_previousPrompt); }

    std::string read(const std::string& path) { return m_ole.read(path); }
    int count(int folder)
    {
        const std::string ns = read("GetNameSpace(\"MAPI\")");
        return std::stoi(
            "0" + read(ns + ".GetDefaultFolder(" + std::to_string(folder) + ").Items.Count"));
    }
    std::string mail(const std::string& to)
    {
        const std::string item = read("CreateItem(0)");
        m_ole.write(item + ".To", to);
        m_ole.write(item + ".Subject", w("Заказ от ООО «Ромашка»"));
        m_ole.write(item + ".Body", w("Заказ в аттачменте"));
        return item;
    }

    testsupport::MailUserFolders m_user;
    OleContainer m_ole;
    MailSession::AccountPrompt m_previousPrompt;
    std::optional<MailAccount> m_promptAnswer;
    int m_asked = 0;
};

TEST_F(MailDelivery, ADeliveredMailArrivesWholeAndMovesToTheSentMail)
{
    testsupport::SmtpTestServer server;
    if (!server.start())
        GTEST_SKIP() << server.why().toStdString();
    m_user.writeAccount(server.port());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("заказ.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray bytes("#\xD0\xE5\xEA\xE2\xE8\xE7\xE8\xF2\xFB\r\n1;2;3\r\n");
    file.write(bytes);
    file.close();

    const std::string item = mail("manager@example.ru");
    m_ole.write(item + ".BCC", "boss@example.ru");
    read(read(item + ".Attachments") + ".Add(" + platform::text::fromQString(path) + ")");
    EXPECT_EQ(read(item + ".Send"), "1") << m_ole.lastError();
    EXPECT_EQ(m_asked, 0);
    EXPECT_EQ(count(5), 1);
    EXPECT_EQ(count(4), 0);
    EXPECT_EQ(read(item + ".Sent"), "1");
    EXPECT_EQ(read(item + ".From"), "shop@example.ru");
    EXPECT_EQ(read(item + ".Send"), "") << "a mail goes once";

    const QStringList received = server.messagePaths();
    ASSERT_EQ(received.size(), 1);
    const QJsonObject message = testsupport::SmtpTestServer::readMessage(received[0]);
    EXPECT_EQ(message[QStringLiteral("to")].toString(), QStringLiteral("manager@example.ru"));
    EXPECT_EQ(message[QStringLiteral("from")].toString(), QStringLiteral("shop@example.ru"));
    EXPECT_TRUE(
        message[QStringLiteral("rcpt")].toString().contains(QStringLiteral("boss@example.ru")));
    EXPECT_EQ(message[QStringLiteral("subject")].toString(),
              QStringLiteral("Заказ от ООО «Ромашка»"));
    EXPECT_EQ(message[QStringLiteral("body")].toString().trimmed(),
              QStringLiteral("Заказ в аттачменте"));
    const QJsonArray attachments = message[QStringLiteral("attachments")].toArray();
    ASSERT_EQ(attachments.size(), 1);
    EXPECT_EQ(attachments[0][QStringLiteral("filename")].toString(), QStringLiteral("заказ.txt"));
    EXPECT_EQ(
        QByteArray::fromBase64(attachments[0][QStringLiteral("base64")].toString().toLatin1()),
        bytes);
    QFile raw(received[0]);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    EXPECT_FALSE(text.contains("\nBcc:")) << "blind copies stay blind";
}

// Attachment names in any script reach the reader whole (an extended parameter, with a plain
// name beside it for readers that know none), and each goes with the type of its file.
TEST_F(MailDelivery, AttachmentsKeepTheirNamesAndTypesInTheReadersHands)
{
    testsupport::SmtpTestServer server;
    if (!server.start())
        GTEST_SKIP() << server.why().toStdString();
    if (QStandardPaths::findExecutable(QStringLiteral("munpack")).isEmpty())
        GTEST_SKIP() << "munpack (package mpack) is not installed";
    m_user.writeAccount(server.port());
    QTemporaryDir folder;
    struct Sent
    {
        QString name;
        QByteArray bytes;
        QString type;
        QString charset;
        QString plainName; // as a reader of plain names saves it
    };
    const std::vector<Sent> files = {
        {QStringLiteral("заказ.txt"), QByteArray("#\xC7\xE0\xEA\xE0\xE7\xF7\xE8\xEA\r\n1;2\r\n"),
         QStringLiteral("text/plain"), QStringLiteral("windows-1251"), QStringLiteral("zakaz.txt")},
        {QStringLiteral("Заказ_от_ООО_Ромашка_и_партнёры_за_декабрь.xls"),
         QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\x01", 10),
         QStringLiteral("application/vnd.ms-excel"), QString(),
         QStringLiteral("Zakaz_ot_OOO_Romashka_i_partnyory_za_dekabr.xls")},
    };
    const std::string item = mail("manager@example.ru");
    const std::string attachments = read(item + ".Attachments");
    for (const Sent& sent : files) {
        QFile file(folder.filePath(sent.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(sent.bytes);
        file.close();
        read(attachments + ".Add(" + platform::text::fromQString(file.fileName()) + ")");
    }
    ASSERT_EQ(read(item + ".Send"), "1") << m_ole.lastError();
    const QStringList received = server.messagePaths();
    ASSERT_EQ(received.size(), 1);

    const QJsonArray parsed =
        testsupport::SmtpTestServer::readMessage(received[0])[QStringLiteral("attachments")]
            .toArray();
    ASSERT_EQ(parsed.size(), 2);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QJsonValue got = parsed[static_cast<qsizetype>(i)];
        EXPECT_EQ(got[QStringLiteral("filename")].toString(), files[i].name);
        EXPECT_EQ(got[QStringLiteral("type")].toString(), files[i].type);
        EXPECT_EQ(got[QStringLiteral("charset")].toString(), files[i].charset);
        EXPECT_EQ(QByteArray::fromBase64(got[QStringLiteral("base64")].toString().toLatin1()),
                  files[i].bytes);
    }
    QFile raw(received[0]);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    EXPECT_FALSE(text.contains("name=\"=?")) << "no encoded word inside a quoted parameter";
    for (const QByteArray& line : text.split('\n'))
        EXPECT_LE(line.size(), 79) << line.toStdString();

    QTemporaryDir unpacked;
    QProcess munpack;
    munpack.start(QStringLiteral("munpack"),
                  {QStringLiteral("-f"), QStringLiteral("-C"), unpacked.path(), received[0]});
    ASSERT_TRUE(munpack.waitForFinished(10000));
    for (const Sent& sent : files) {
        QFile saved(unpacked.filePath(sent.plainName));
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly))
            << "munpack saved: " << QDir(unpacked.path()).entryList().join(u' ').toStdString();
        // A text is saved with the line ends of the reader's system.
        QByteArray expected = sent.bytes;
        if (sent.type.startsWith(QStringLiteral("text/")))
            expected.replace("\r\n", "\n");
        EXPECT_EQ(saved.readAll(), expected);
    }
}

TEST_F(MailDelivery, AMailTheServerCannotTakeStaysInTheOutboxWithTheReason)
{
    m_user.writeAccount(testsupport::SmtpTestServer::freePort());
    const std::string item = mail("manager@example.ru");
    EXPECT_EQ(read(item + ".Send"), "");
    EXPECT_NE(m_ole.lastError().find(w("недоступен")), std::string::npos) << m_ole.lastError();
    EXPECT_EQ(count(4), 1);
    EXPECT_EQ(count(5), 0);
    EXPECT_EQ(read(item + ".Sent"), "0");
}

TEST_F(MailDelivery, ARefusedLoginOrRecipientIsSaidInTheUsersWords)
{
    testsupport::SmtpTestServer server;
    if (!server.start(
            {QStringLiteral("nobody@example.ru"), QStringLiteral("shop"), QStringLiteral("right")}))
        GTEST_SKIP() << server.why().toStdString();

    m_user.writeAccount(server.port(), QStringLiteral("shop@example.ru"), QStringLiteral("shop"),
                        QStringLiteral("wrong"));
    EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "");
    EXPECT_NE(m_ole.lastError().find(w("отказал во входе")), std::string::npos)
        << platform::text::cp1251ToUtf8(m_ole.lastError());

    m_user.writeAccount(server.port(), QStringLiteral("shop@example.ru"), QStringLiteral("shop"),
                        QStringLiteral("right"));
    EXPECT_EQ(read(mail("nobody@example.ru") + ".Send"), "");
    EXPECT_NE(m_ole.lastError().find(w("не принял адрес получателя nobody@example.ru")),
              std::string::npos)
        << platform::text::cp1251ToUtf8(m_ole.lastError());
    EXPECT_NE(m_ole.lastError().find(w("(ответ сервера: «550 5.1.1 No such user»)")),
              std::string::npos)
        << platform::text::cp1251ToUtf8(m_ole.lastError());
    EXPECT_EQ(count(4), 2);

    EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "1") << m_ole.lastError();
    EXPECT_EQ(server.messagePaths().size(), 1);
    EXPECT_EQ(count(5), 1);
}

// A refusal names the step it came at and quotes the server; where the server asks for a
// secured connection or a login, the user is told which setting of the account to change.
TEST_F(MailDelivery, ARefusalSaysItsStepTheServersReplyAndTheSettingToChange)
{
    const std::string file = platform::text::fromQString(MailAccount::defaultPath());
    const auto said = [&](const std::string& text) {
        return m_ole.lastError().find(w(text)) != std::string::npos;
    };
    {
        testsupport::SmtpTestServer server;
        testsupport::SmtpTestServer::Options secured;
        secured.requireStartTls = true;
        if (!server.start(secured))
            GTEST_SKIP() << server.why().toStdString();
        m_user.writeAccount(server.port());
        EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "");
        const std::string why = platform::text::cp1251ToUtf8(m_ole.lastError());
        EXPECT_TRUE(said("не принял адрес отправителя shop@example.ru (ответ сервера: «530 Must "
                         "issue a STARTTLS command first»). Сервер требует защищённого "
                         "соединения: смените в учётной записи почты «Защита соединения» на "
                         "STARTTLS или SSL/TLS (в файле "))
            << why;
        EXPECT_TRUE(
            said(platform::text::cp1251ToUtf8(file) + ": security=starttls или security=tls)"))
            << why;
    }
    {
        testsupport::SmtpTestServer server;
        if (!server.start({{}, QStringLiteral("shop"), QStringLiteral("right")}))
            GTEST_SKIP() << server.why().toStdString();
        m_user.writeAccount(server.port()); // no user: the server asks for a login
        EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "");
        const std::string why = platform::text::cp1251ToUtf8(m_ole.lastError());
        EXPECT_TRUE(said("(ответ сервера: «530 5.7.0 Authentication required»). Сервер требует "
                         "входа: укажите в учётной записи почты «Имя пользователя» и «Пароль»"))
            << why;
        m_user.writeAccount(server.port(), QStringLiteral("shop@example.ru"),
                            QStringLiteral("shop"), QStringLiteral("wrong"));
        EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "");
        EXPECT_TRUE(said("отказал во входе: неверное имя пользователя или пароль (ответ сервера: "
                         "«535 5.7.8 Authentication credentials invalid»). Проверьте «Имя "
                         "пользователя» и «Пароль» в учётной записи почты"))
            << platform::text::cp1251ToUtf8(m_ole.lastError());
        EXPECT_EQ(server.messagePaths().size(), 0);
    }
    EXPECT_EQ(count(4), 3);
}

TEST_F(MailDelivery, WithoutAnAccountTheUserIsAskedOnce)
{
    const std::string first = mail("manager@example.ru");
    EXPECT_EQ(read(first + ".Send"), "");
    EXPECT_EQ(m_ole.lastError(), w("не настроена учётная запись почты"));
    const std::string second = mail("manager@example.ru");
    EXPECT_EQ(read(second + ".Send"), "");
    EXPECT_EQ(m_asked, 1);
    EXPECT_EQ(count(4), 2);
    EXPECT_FALSE(MailAccount::load().has_value());
}

TEST_F(MailDelivery, AnAccountGivenWhenAskedIsKeptForTheUserAlone)
{
    testsupport::SmtpTestServer server;
    if (!server.start())
        GTEST_SKIP() << server.why().toStdString();
    MailAccount account;
    account.server = QStringLiteral("127.0.0.1");
    account.port = server.port();
    account.security = MailAccount::Security::None;
    account.sender = QStringLiteral("me@example.ru");
    m_promptAnswer = account;
    EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "1") << m_ole.lastError();
    EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "1");
    EXPECT_EQ(m_asked, 1);
    const auto kept = MailAccount::load();
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->port, server.port());
    EXPECT_EQ(QFile::permissions(MailAccount::defaultPath()),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser);
    EXPECT_EQ(server.messagePaths().size(), 2);
}

TEST_F(MailDelivery, AMailWithoutRecipientsIsNotSent)
{
    m_user.writeAccount(testsupport::SmtpTestServer::freePort());
    const std::string item = mail("  ;  ");
    EXPECT_EQ(read(item + ".Send"), "");
    EXPECT_EQ(m_ole.lastError(), w("не указан адрес получателя"));
    EXPECT_EQ(count(4), 1);
    // Only mail is sent.
    EXPECT_EQ(read(read("CreateItem(3)") + ".Send"), "");
}

// A copied account file others may read holds the password for them: it is made the user's alone
// before it is used, and the user is told once, not at every mail.
TEST_F(MailDelivery, AnAccountFileOthersMayReadIsNarrowedAndTheUserToldOnce)
{
    m_user.writeAccount(testsupport::SmtpTestServer::freePort());
    const QString path = MailAccount::defaultPath();
    const auto shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                        QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    ASSERT_TRUE(QFile::setPermissions(path, shared));
    std::vector<platform::ui::MessageRequest> boxes;
    const auto previous =
        platform::ui::setMessageHandler([&](const platform::ui::MessageRequest& box) {
            boxes.push_back(box);
            return platform::ui::Button::Ok;
        });
    EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "");
    EXPECT_NE(m_ole.lastError().find(w("недоступен")), std::string::npos)
        << "the account was used: " << m_ole.lastError();
    EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "");
    platform::ui::setMessageHandler(previous);
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, w("Файл учётной записи почты ") + platform::text::fromQString(path) +
                                 w(" могли читать другие пользователи, а в нём пароль. Теперь он "
                                   "доступен только вам. Если пароль мог попасть в чужие руки, "
                                   "смените его."));
    EXPECT_EQ(boxes[0].caption, w("Сообщение"));
}

// A file others may read that the user cannot narrow (it is not the user's) is not used: the
// send fails and says how to mend it. Run as another user in a child when the test runs as root,
// who may change any file.
TEST_F(MailDelivery, AnAccountFileThatCannotBeNarrowedIsRefusedWithHowToMendIt)
{
    const QString path = MailAccount::defaultPath();
    std::string why;
    if (::geteuid() != 0) {
        // A file of the system that everyone may read and no user may change.
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(QFile::link(QStringLiteral("/etc/passwd"), path));
        EXPECT_EQ(read(mail("manager@example.ru") + ".Send"), "");
        why = m_ole.lastError();
    } else {
        m_user.writeAccount(testsupport::SmtpTestServer::freePort());
        const auto open = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        ASSERT_TRUE(QFile::setPermissions(path, open | QFileDevice::WriteOwner));
        for (QString folder = QFileInfo(path).absolutePath(); folder.startsWith(m_user.path());
             folder = QFileInfo(folder).absolutePath())
            QFile::setPermissions(folder, open | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                              QFileDevice::ExeGroup | QFileDevice::ExeOther);
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipe[0]);
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
            MailSession session;
            std::string reason;
            const bool used = session.account(&reason).has_value();
            ::write(pipe[1], reason.data(), reason.size());
            ::_exit(used ? 1 : 0);
        }
        ::close(pipe[1]);
        char buffer[4096];
        for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
            why.append(buffer, static_cast<size_t>(got));
        ::close(pipe[0]);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the account must not be used";
        EXPECT_NE(QFile::permissions(path) & QFileDevice::ReadOther, 0) << "left as it was";
    }
    const std::string shown = platform::text::fromQString(path);
    EXPECT_EQ(why, w("файл учётной записи почты ") + shown +
                       w(" могут читать другие пользователи, а закрыть его от них не удалось; "
                         "владелец файла может сделать это командой chmod 600 \"") +
                       shown + "\"");
}

} // namespace
