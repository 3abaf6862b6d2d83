#include "platform/system/ProgramRuntime.h"

#include <csignal>
#include <utility>

namespace platform::system {

void ignoreWriteSignals()
{
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

ProgramRuntime::ProgramRuntime(std::vector<ModuleRoutine> modules)
    : m_modules(std::move(modules))
{
    ignoreWriteSignals();
    for (ModuleRoutine routine : m_modules)
        routine(0);
}

ProgramRuntime::~ProgramRuntime()
{
    for (auto routine = m_modules.rbegin(); routine != m_modules.rend(); ++routine)
        (*routine)(1);
}

} // namespace platform::system
