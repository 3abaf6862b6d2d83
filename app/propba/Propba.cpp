#include "app/propba/Propba.h"

#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;

Propba::Propba() : WindowController("quelbarto$quelb028", "P1$WINDOW")
{
}

int Propba::init()
{
    GlobalErrors().pushProcedure("propba");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(window().nextField(0));
    window().open();
    return Level::Benign;
}

int Propba::kill()
{
    const int level = WindowController::kill();
    GlobalErrors().popProcedure("propba");
    return level;
}

std::unique_ptr<WindowController> propba()
{
    return std::make_unique<Propba>();
}

} // namespace app
