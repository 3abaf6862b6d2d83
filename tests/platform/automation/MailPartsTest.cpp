#include "platform/automation/outlook/MailAccount.h"
#include "platform/automation/outlook/MailAccountDialog.h"
#include "platform/automation/outlook/MimeMessage.h"
#include "platform/automation/outlook/SmtpConversation.h"
#include "platform/text/Cp1251.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using platform::automation::outlook::MailAccount;
using platform::automation::outlook::MailAccountDialog;
using platform::automation::outlook::MimeMessage;
using platform::automation::outlook::SmtpConversation;
using platform::text::w;

// Decodes "=?UTF-8?B?...?=" words (the only kind written) as a mail reader would.
QString decoded(const QByteArray& header)
{
    QString text;
    for (QByteArray word : header.split(' ')) {
        word = word.trimmed();
        if (word.startsWith("=?UTF-8?B?") && word.endsWith("?="))
            text += QString::fromUtf8(QByteArray::fromBase64(word.mid(10, word.size() - 12)));
        else
            text += QString::fromLatin1(word);
    }
    return text;
}

TEST(MimeMessage, HeaderTextsAreEncodedWordsOnlyWhenNeeded)
{
    EXPECT_EQ(MimeMessage::encodedHeaderText(QStringLiteral("Order 5")), "Order 5");
    const QString russian =
        QStringLiteral("Заказ от ООО «Ромашка и партнёры» из Санкт-Петербурга 😀");
    const QByteArray encoded = MimeMessage::encodedHeaderText(russian);
    for (const QByteArray& line : encoded.split('\n'))
        EXPECT_LE(line.size(), 78) << "header lines stay short";
    EXPECT_EQ(decoded(encoded), russian) << "words are cut between whole characters";
}

TEST(MimeMessage, RecipientLinesGiveBareAddresses)
{
    EXPECT_EQ(MimeMessage::addresses(QStringLiteral("Иван <ivan@a.ru>; b@c.ru,, ;")),
              (QStringList{QStringLiteral("ivan@a.ru"), QStringLiteral("b@c.ru")}));
    EXPECT_TRUE(MimeMessage::addresses(QStringLiteral("  ")).isEmpty());
}

TEST(MimeMessage, AMessageWithoutAttachmentsIsOneTextPartWithCrLf)
{
    MimeMessage message;
    message.from = QStringLiteral("a@b.ru");
    message.to = {QStringLiteral("c@d.ru")};
    message.subject = QStringLiteral("S");
    message.body = QStringLiteral("line\nline2");
    const QByteArray bytes = message.bytes();
    EXPECT_TRUE(bytes.contains("Content-Type: text/plain; charset=UTF-8\r\n"));
    EXPECT_FALSE(bytes.contains("multipart"));
    const qsizetype start = bytes.indexOf("\r\n\r\n") + 4;
    EXPECT_EQ(QByteArray::fromBase64(bytes.mid(start)), "line\r\nline2");
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
}

// The dialogue as libcurl reports it, line by line: a refusal spread over several lines is
// quoted whole and laid to the command it answered, later replies that accept leave it be, and
// the login's credentials never reach the words shown.
TEST(SmtpConversation, ARefusalIsQuotedWholeAtItsStepAndTheLoginIsNeverKept)
{
    using Step = SmtpConversation::Step;
    MailAccount account;
    account.security = MailAccount::Security::StartTls;
    account.user = QStringLiteral("shop");
    account.sender = QStringLiteral("shop@example.ru");

    SmtpConversation conversation;
    conversation.received("220 mail.example.ru ESMTP\r\n");
    conversation.sent("EHLO host\r\n");
    conversation.received("250-mail.example.ru\r\n");
    conversation.received("250 AUTH PLAIN\r\n");
    conversation.sent("AUTH PLAIN AHNob3AAc2VjcmV0\r\n");
    conversation.received("235 2.7.0 Accepted\r\n");
    conversation.sent("MAIL FROM:<shop@example.ru>\r\n");
    conversation.received("250 OK\r\n");
    conversation.sent("RCPT TO:<first@example.ru>\r\n");
    conversation.received("250 OK\r\n");
    conversation.sent("RCPT TO:<second@example.ru>\r\n");
    conversation.received("550-5.7.1 Relaying denied\r\n");
    conversation.received("550 5.7.1 for this address\r\n");
    EXPECT_EQ(conversation.step(), Step::Recipient);
    conversation.sent("QUIT\r\n");
    conversation.received("221 Bye\r\n");
    EXPECT_EQ(conversation.refusal(), "550-5.7.1 Relaying denied 550 5.7.1 for this address");
    const std::string reason = conversation.reason(account, false, "RCPT failed: 550");
    EXPECT_EQ(reason, w("почтовый сервер не принял адрес получателя second@example.ru (ответ "
                        "сервера: «550-5.7.1 Relaying denied 550 5.7.1 for this address»)"));
    EXPECT_EQ(reason.find("AHNob3"), std::string::npos);

    // With nothing refused, the step under way and the library's own words.
    SmtpConversation cut;
    cut.sent("EHLO host");
    cut.received("250 OK");
    cut.sent("MAIL FROM:<shop@example.ru>");
    cut.received("250 OK");
    cut.sent("RCPT TO:<a@example.ru>");
    cut.received("250 OK");
    cut.sent("DATA");
    cut.received("354 Go ahead");
    EXPECT_EQ(cut.reason(account, false, "Timeout was reached"),
              w("ошибка отправки почты (шаг: передача письма): Timeout was reached"));
}

TEST(MailAccount, TheFileKeepsTheAccountReadableByTheUserAlone)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sub/mail-account.ini"));
    EXPECT_FALSE(MailAccount::load(path).has_value());
    MailAccount account;
    account.server = QStringLiteral(" smtp.example.ru ");
    account.port = 2525;
    account.security = MailAccount::Security::Tls;
    account.user = QStringLiteral("user");
    account.password = QStringLiteral("p;a=ss word#");
    account.sender = QStringLiteral("shop@example.ru");
    ASSERT_TRUE(account.save(path));
    EXPECT_EQ(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadUser | QFileDevice::WriteUser);
    const auto loaded = MailAccount::load(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->server, QStringLiteral("smtp.example.ru"));
    EXPECT_EQ(loaded->port, 2525);
    EXPECT_EQ(loaded->security, MailAccount::Security::Tls);
    EXPECT_EQ(loaded->password, QStringLiteral("p;a=ss word#"));
    EXPECT_TRUE(loaded->complete());
}

TEST(MailAccount, AHandWrittenFileGetsTheUsualPortOfItsSecurity)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mail-account.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[account]\nserver=mail.example.ru\nsecurity=ssl\nport=none\n");
    file.close();
    const auto loaded = MailAccount::load(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->port, 465);
    EXPECT_FALSE(loaded->complete()) << "no sender address";
}

TEST(MailAccountDialog, TakesWhatTheUserTypedAndWantsAServerAndASender)
{
    MailAccountDialog dialog(MailAccount{});
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());
    dialog.findChild<QLineEdit*>(QStringLiteral("server"))
        ->setText(QStringLiteral("smtp.example.ru"));
    EXPECT_FALSE(ok->isEnabled());
    dialog.findChild<QLineEdit*>(QStringLiteral("sender"))
        ->setText(QStringLiteral("me@example.ru"));
    EXPECT_TRUE(ok->isEnabled());
    auto* security = dialog.findChild<QComboBox*>(QStringLiteral("security"));
    security->setCurrentIndex(security->findData(static_cast<int>(MailAccount::Security::Tls)));
    EXPECT_EQ(dialog.findChild<QSpinBox*>(QStringLiteral("port"))->value(), 465);
    dialog.findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("secret"));
    const MailAccount account = dialog.account();
    EXPECT_EQ(account.server, QStringLiteral("smtp.example.ru"));
    EXPECT_EQ(account.port, 465);
    EXPECT_EQ(account.security, MailAccount::Security::Tls);
    EXPECT_EQ(account.password, QStringLiteral("secret"));
    EXPECT_EQ(account.sender, QStringLiteral("me@example.ru"));
}

} // namespace
