#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// Points the user's data and configuration folders (where the mail store and the mail account
// live) at a fresh temporary folder for the object's lifetime, never at the real user's.
class MailUserFolders
{
public:
    MailUserFolders();
    ~MailUserFolders();
    MailUserFolders(const MailUserFolders&) = delete;
    MailUserFolders& operator=(const MailUserFolders&) = delete;

    QString path() const { return m_folder.path(); }
    // Writes the account file (mode 0600): plain SMTP to 127.0.0.1 at port, sender as given,
    // with a login when a user is given.
    void writeAccount(int port, const QString& sender = QStringLiteral("shop@example.ru"),
                      const QString& user = {}, const QString& password = {}) const;

private:
    QTemporaryDir m_folder;
    QByteArray m_data;
    QByteArray m_config;
};

} // namespace testsupport
