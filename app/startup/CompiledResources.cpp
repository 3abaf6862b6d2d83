#include "app/startup/CompiledResources.h"

#include "platform/ui/DefinitionLoader.h"

#include <QDir>

#include <filesystem>

namespace app {

void CompiledResources::provide()
{
    std::error_code error;
    const std::filesystem::path given = platform::ui::resourceFolder();
    if (std::filesystem::is_directory(given / "windows", error)) {
        // Held absolute, so a later change of the working folder does not lose it.
        platform::ui::setResourceFolder(std::filesystem::absolute(given, error));
        return;
    }
    if (QDir(QStringLiteral(":/windows")).exists())
        platform::ui::setResourceFolder(":");
}

} // namespace app
