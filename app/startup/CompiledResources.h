#pragma once

#include <QTemporaryDir>

#include <memory>

// The window definitions and icons are compiled into the program; the window runtime reads
// them from a folder. When no folder is found (QUELB_RESOURCES, "resources" beside the
// program or in the working folder), they are written to a temporary folder for the run.
namespace app {

class CompiledResources
{
public:
    // Sets the runtime's resource folder when it would otherwise be missing.
    void provide();

private:
    std::unique_ptr<QTemporaryDir> m_folder;
};

} // namespace app
