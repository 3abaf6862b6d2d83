#include "app/startup/CompiledResources.h"

#include "platform/ui/DefinitionLoader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <filesystem>

namespace app {
namespace {

bool copyTree(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString target = to + QLatin1Char('/') + it.fileName();
        if (!QFile::copy(it.filePath(), target))
            return false;
    }
    return true;
}

} // namespace

void CompiledResources::provide()
{
    std::error_code error;
    const std::filesystem::path given = platform::ui::resourceFolder();
    if (std::filesystem::is_directory(given / "windows", error)) {
        // Held absolute, so a later change of the working folder does not lose it.
        platform::ui::setResourceFolder(std::filesystem::absolute(given, error));
        return;
    }
    if (!QDir(QStringLiteral(":/windows")).exists())
        return;
    m_folder = std::make_unique<QTemporaryDir>();
    if (!m_folder->isValid())
        return;
    const QString root = m_folder->path();
    if (!copyTree(QStringLiteral(":/windows"), root + QStringLiteral("/windows")) ||
        !copyTree(QStringLiteral(":/icons"), root + QStringLiteral("/icons")))
        return;
    platform::ui::setResourceFolder(std::filesystem::path(root.toStdString()));
}

} // namespace app
