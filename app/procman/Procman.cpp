#include "app/procman/Procman.h"

#include "app/dictionary/Dictionary.h"
#include "app/dictionary/Layouts.h"
#include "platform/ui/Event.h"
#include "platform/ui/Property.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;

int32_t ProcmanThread = 0;

namespace {

ReferenceListSetup setup()
{
    const auto& layout = SPRMAN().layout();
    return {"quelb011",
            "P1$QUICKWINDOW",
            "procman",
            &SPRMAN,
            [] { return RelateSPRMAN; },
            SPR_poname,
            {layout.fieldIndex("SPR:NAME"), layout.fieldIndex("SPR:KMAIL")},
            10,
            10,
            false};
}

} // namespace

Procman::Procman() : ReferenceListWindow(setup())
{
}

bool Procman::admit()
{
    // A second start brings the open window forward. A thread number left behind by a window
    // that is gone no longer counts.
    if (ProcmanThread != 0 && ThreadRegistry::isRunning(ProcmanThread) &&
        post(Event::GainFocus, 0, ProcmanThread))
        return false;
    ProcmanThread = currentThread();
    m_owner = true;
    return true;
}

int Procman::takeWindowEvent()
{
    switch (event()) {
    case Event::CloseWindow:
        ProcmanThread = 0;
        break;
    case Event::GainFocus:
        window().setProperty(0, Property::Active, 1);
        break;
    default:
        break;
    }
    return ReferenceListWindow::takeWindowEvent();
}

int Procman::kill()
{
    // A window closed with the program (no close request) must not leave its number behind.
    if (m_owner && ProcmanThread == currentThread())
        ProcmanThread = 0;
    return ReferenceListWindow::kill();
}

std::unique_ptr<WindowController> procman()
{
    return std::make_unique<Procman>();
}

} // namespace app
