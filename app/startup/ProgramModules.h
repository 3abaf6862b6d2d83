#pragma once

#include "platform/system/ProgramRuntime.h"

#include <vector>

// The start-up routines of the program's modules, in the order the runtime runs them at the start
// (with 0); at the end it runs them the other way round with a non-zero value.
namespace app {

std::vector<platform::system::ModuleRoutine> ProgramModules();

} // namespace app
