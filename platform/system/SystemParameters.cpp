#include "platform/system/SystemParameters.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace platform::system {
namespace {

const QString kDragKey = QStringLiteral("Desktop/DragFullWindows");

// A value set without the profile flag: it outlives nothing but the process.
std::optional<bool>& sessionDragFullWindows()
{
    static std::optional<bool> value;
    return value;
}

QString profilePath()
{
    return QString::fromStdString(systemSettingsPath());
}

bool readDragFullWindows()
{
    if (sessionDragFullWindows())
        return *sessionDragFullWindows();
    const QSettings profile(profilePath(), QSettings::IniFormat);
    // The system's own default is on.
    return profile.value(kDragKey, 1).toInt() != 0;
}

bool writeDragFullWindows(bool on, unsigned flags)
{
    if (!(flags & Spif::UpdateIniFile)) {
        sessionDragFullWindows() = on;
        return true;
    }
    const QString path = profilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSettings profile(path, QSettings::IniFormat);
    profile.setValue(kDragKey, on ? 1 : 0);
    profile.sync();
    if (profile.status() != QSettings::NoError)
        return false;
    sessionDragFullWindows().reset();
    return true;
}

} // namespace

std::string systemSettingsPath()
{
    if (const char* path = std::getenv("QUELB_SYSTEM_SETTINGS"); path && *path)
        return path;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("quelbarto/system.ini")).toStdString();
}

bool systemParametersInfo(unsigned action, unsigned param, void* value, unsigned flags)
{
    switch (action) {
    case Spi::GetDragFullWindows:
        if (!value)
            return false;
        *static_cast<int32_t*>(value) = readDragFullWindows() ? 1 : 0;
        return true;
    case Spi::SetDragFullWindows:
        return writeDragFullWindows(param != 0, flags);
    default:
        return false;
    }
}

void resetSessionParameters()
{
    sessionDragFullWindows().reset();
}

} // namespace platform::system
