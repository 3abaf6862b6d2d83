#pragma once

#include <QString>

#include <optional>

namespace platform::automation::outlook {

// The account the mail server sends with, kept in "mail-account.ini" in the user's
// configuration folder, readable by the user alone (it holds the password).
struct MailAccount
{
    enum class Security { None, StartTls, Tls };

    QString server;
    int port = 587;
    Security security = Security::StartTls;
    QString user;
    QString password;
    QString sender; // the From address

    // A server and a sender address are all a mail needs.
    bool complete() const { return !server.trimmed().isEmpty() && !sender.trimmed().isEmpty(); }

    static QString defaultPath();
    // Nothing when the file is missing or names no server.
    static std::optional<MailAccount> load(const QString& path = defaultPath());
    // Writes the file (mode 0600); false when it cannot be written.
    bool save(const QString& path = defaultPath()) const;

    // The file holds a password: one others may read (copied, or written by hand) is narrowed to
    // mode 0600. Private: it was so already, or there is no file; Narrowed: made so now;
    // Exposed: others may still read it (the file is not the user's, or cannot be changed).
    enum class Privacy { Private, Narrowed, Exposed };
    static Privacy keepPrivate(const QString& path = defaultPath());

    static QString securityName(Security security);
    static Security securityOf(const QString& name);
};

} // namespace platform::automation::outlook
