#include "app/browsepriosn/PriceWindowCalls.h"

#include "app/browsepriosn/SelectionState.h"
#include "app/fotovyv/Fotovyv.h"
#include "app/ipmprice/Ipmprice.h"
#include "app/pechzakaz/Pechzakaz.h"
#include "app/procin/Procin.h"
#include "app/procvyg/Procvyg.h"
#include "app/vybproc/Vybproc.h"

namespace app {

PriceWindowCalls programPriceWindowCalls()
{
    PriceWindowCalls calls;
    calls.ipmprice = [] { return app::ipmprice(); };
    calls.procvyg = [](int32_t tab, double weight) { app::procvyg(tab, weight); };
    calls.procin = [](std::string_view name) { app::procin(name); };
    calls.pechzakaz = [] { app::pechzakaz(); };
    calls.fotovyv = [](const PhotoItem& item) { app::fotovyv(item); };
    calls.vybproc = [] {
        const SelectionState& state = Selection();
        return app::vybproc(state.phrase.view(), state.applicabilityMode, state.manufacturerMode,
                            state.showOnlyMarkedTypes, state.showOnlyMarkedManufacturers);
    };
    return calls;
}

PriceWindowCalls& priceWindowCalls()
{
    static PriceWindowCalls calls = programPriceWindowCalls();
    return calls;
}

} // namespace app
