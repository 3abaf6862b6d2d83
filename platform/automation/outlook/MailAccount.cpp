#include "platform/automation/outlook/MailAccount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>

namespace platform::automation::outlook {

QString MailAccount::defaultPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(folder).filePath(QStringLiteral("mail-account.ini"));
}

QString MailAccount::securityName(Security security)
{
    switch (security) {
    case Security::None:
        return QStringLiteral("none");
    case Security::Tls:
        return QStringLiteral("tls");
    case Security::StartTls:
        break;
    }
    return QStringLiteral("starttls");
}

MailAccount::Security MailAccount::securityOf(const QString& name)
{
    const QString lower = name.trimmed().toLower();
    if (lower == QLatin1String("none"))
        return Security::None;
    if (lower == QLatin1String("tls") || lower == QLatin1String("ssl"))
        return Security::Tls;
    return Security::StartTls;
}

std::optional<MailAccount> MailAccount::load(const QString& path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("account"));
    MailAccount account;
    account.server = file.value(QStringLiteral("server")).toString().trimmed();
    account.security = securityOf(file.value(QStringLiteral("security")).toString());
    const int defaultPort = account.security == Security::Tls    ? 465
                            : account.security == Security::None ? 25
                                                                 : 587;
    bool isNumber = false;
    const int port = file.value(QStringLiteral("port")).toString().toInt(&isNumber);
    account.port = isNumber && port > 0 && port < 65536 ? port : defaultPort;
    account.user = file.value(QStringLiteral("user")).toString();
    account.password = file.value(QStringLiteral("password")).toString();
    account.sender = file.value(QStringLiteral("sender")).toString().trimmed();
    if (account.server.isEmpty())
        return std::nullopt;
    return account;
}

MailAccount::Privacy MailAccount::keepPrivate(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat file
    {
    };
    if (::stat(name.constData(), &file) != 0 || (file.st_mode & 077) == 0)
        return Privacy::Private;
    if (::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0)
        return Privacy::Exposed;
    return Privacy::Narrowed;
}

bool MailAccount::save(const QString& path) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The file is made readable by the user alone before the password goes in, and written in
    // place so that it never passes through a file others may read.
    {
        QFile empty(path);
        if (!empty.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        empty.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QSettings file(path, QSettings::IniFormat);
    file.setAtomicSyncRequired(false);
    file.beginGroup(QStringLiteral("account"));
    file.setValue(QStringLiteral("server"), server.trimmed());
    file.setValue(QStringLiteral("port"), port);
    file.setValue(QStringLiteral("security"), securityName(security));
    file.setValue(QStringLiteral("user"), user);
    file.setValue(QStringLiteral("password"), password);
    file.setValue(QStringLiteral("sender"), sender.trimmed());
    file.endGroup();
    file.sync();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.status() == QSettings::NoError;
}

} // namespace platform::automation::outlook
