#pragma once

#include "app/procman/ReferenceListWindow.h"

#include <memory>

// The applicability types' reference list ("Справочник применяемости") over SPRPR; every start
// opens another copy.
namespace app {

class Procprim : public ReferenceListWindow
{
public:
    Procprim();
};

std::unique_ptr<platform::ui::WindowController> procprim();

} // namespace app
