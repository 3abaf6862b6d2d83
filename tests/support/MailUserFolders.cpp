#include "tests/support/MailUserFolders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace testsupport {

MailUserFolders::MailUserFolders()
    : m_data(qgetenv("XDG_DATA_HOME")), m_config(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("XDG_DATA_HOME", (m_folder.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_folder.path() + QStringLiteral("/config")).toUtf8());
}

MailUserFolders::~MailUserFolders()
{
    if (m_data.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", m_data);
    if (m_config.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", m_config);
}

void MailUserFolders::writeAccount(int port, const QString& sender, const QString& user,
                                   const QString& password) const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/mail-account.ini"));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(QStringLiteral("[account]\nserver=127.0.0.1\nport=%1\nsecurity=none\nsender=%2\n"
                              "user=%3\npassword=%4\n")
                   .arg(port)
                   .arg(sender, user, password)
                   .toUtf8());
    // As the account dialog keeps it: readable by the user alone.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace testsupport
