#pragma once

#include "platform/ui/ThreadRegistry.h"

#include <string_view>

// The window procedures the frame starts, each on a thread of its own with its stack size.
// A procedure whose window is not part of the program yet has no factory: starting it does
// nothing.
namespace app {

enum class Procedure { Browsepriosn, ustan, procman, procprim, conv, procoprog, propba };

struct ProcedureStarter
{
    Procedure procedure;
    std::string_view name;
    int stackSize;
    platform::ui::ThreadProcedure factory; // empty while the window is missing
};

const ProcedureStarter& procedureStarter(Procedure procedure);

// Starts the procedure on a new thread; its thread number, or 0 when nothing was started.
int StartProcedure(Procedure procedure);

} // namespace app
