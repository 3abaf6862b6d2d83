#include "app/frame/ProcedureStarters.h"

#include "app/browsepriosn/Browsepriosn.h"
#include "app/conv/Conv.h"
#include "app/procman/Procman.h"
#include "app/procoprog/Procoprog.h"
#include "app/procprim/Procprim.h"
#include "app/propba/Propba.h"
#include "app/ustan/Ustan.h"

#include <array>

namespace app {
namespace {

const std::array<ProcedureStarter, 7>& starters()
{
    static const std::array<ProcedureStarter, 7> table = {{
        {Procedure::Browsepriosn, "Browsepriosn", 50000, browsepriosn},
        {Procedure::ustan, "ustan", 50000, ustan},
        {Procedure::procman, "procman", 50000, procman},
        {Procedure::procprim, "procprim", 25000, procprim},
        {Procedure::conv, "conv", 25000, conv},
        {Procedure::procoprog, "procoprog", 25000, procoprog},
        {Procedure::propba, "propba", 25000, propba},
    }};
    return table;
}

} // namespace

const ProcedureStarter& procedureStarter(Procedure procedure)
{
    return starters().at(static_cast<std::size_t>(procedure));
}

int StartProcedure(Procedure procedure)
{
    const ProcedureStarter& starter = procedureStarter(procedure);
    if (!starter.factory)
        return 0;
    return platform::ui::startThread(starter.factory, starter.stackSize);
}

} // namespace app
