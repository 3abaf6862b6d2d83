#include "app/startup/ProgramModules.h"

#include "net/ErrorTextTable.h"

namespace app {

std::vector<platform::system::ModuleRoutine> ProgramModules()
{
    return {&net::ErrorTextTableInit};
}

} // namespace app
