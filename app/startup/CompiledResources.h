#pragma once

// The window definitions and icons are compiled into the program. The window runtime reads
// them from a folder given at run time (QUELB_RESOURCES, "resources" beside the program or in
// the working folder); when there is none, it reads the compiled-in copies where they are, so
// the start needs no writable folder.
namespace app {

class CompiledResources
{
public:
    // Sets the runtime's resource folder.
    void provide();
};

} // namespace app
