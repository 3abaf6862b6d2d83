#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace testsupport {

// A real SMTP server on 127.0.0.1 for the duration of a test: python3 -m aiosmtpd with its
// Maildir handler, on a free port. Every message it takes is kept whole, as received.
class SmtpTestServer
{
public:
    SmtpTestServer();
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;

    struct Options
    {
        QString refusedRecipient; // refused at RCPT TO with 550
        QString user;             // when set, a login with this user and password is required
        QString password;
        bool requireStartTls = false; // every command but EHLO and STARTTLS refused before TLS
    };

    // False (with the reason in why()) when no Python with aiosmtpd is found or the server did
    // not start listening.
    bool start(const Options& options);
    bool start() { return start(Options()); }
    const QString& why() const { return m_why; }
    int port() const { return m_port; }

    // The messages received so far, oldest first, each the whole text as stored (the server
    // adds X-Peer, X-MailFrom and X-RcptTo lines at the top).
    QStringList messagePaths() const;

    // A message file read by Python's own mail parser: "to", "from", "subject" (decoded),
    // "rcpt" (X-RcptTo), "body" (the decoded text part) and "attachments" (each with
    // "filename", "type" and "charset" of its content type, and "base64", the decoded bytes in
    // base64). Empty on failure.
    static QJsonObject readMessage(const QString& path);

    // The interpreter that has aiosmtpd ("python3" first, then /usr/bin/python3); empty when none.
    static QString python();
    // A port on 127.0.0.1 that nothing listens on right now.
    static int freePort();

private:
    Options m_options;
    QString m_folder;
    std::unique_ptr<QProcess> m_process;
    int m_port = 0;
    QString m_why;
};

} // namespace testsupport
