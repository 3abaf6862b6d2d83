#include "app/procprim/Procprim.h"

#include "app/dictionary/Dictionary.h"
#include "app/dictionary/Layouts.h"

namespace app {

using namespace platform::ui;

namespace {

ReferenceListSetup setup()
{
    return {"quelb023",
            "P1$QUICKWINDOW",
            "procprim",
            &SPRPR,
            [] { return RelateSPRPR; },
            SP_ponaim,
            {SPRPR().layout().fieldIndex("SP:NAIM")},
            9,
            9,
            true};
}

} // namespace

Procprim::Procprim() : ReferenceListWindow(setup())
{
}

std::unique_ptr<WindowController> procprim()
{
    return std::make_unique<Procprim>();
}

} // namespace app
