#include "app/startup/ProgramEntry.h"

namespace app {

int ProgramEntry(int, char**)
{
    return 0;
}

} // namespace app
