#include "platform/system/ProgramRuntime.h"

#include <clocale>
#include <csignal>
#include <utility>

namespace platform::system {

void useProgramNumberRules()
{
    std::setlocale(LC_NUMERIC, "C");
}

void ignoreWriteSignals()
{
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

ProgramRuntime::ProgramRuntime(std::vector<ModuleRoutine> modules)
    : m_modules(std::move(modules))
{
    useProgramNumberRules();
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
