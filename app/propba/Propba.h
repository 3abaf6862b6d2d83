#pragma once

#include "platform/ui/WindowController.h"

#include <memory>

// The bare window: a child of the frame titled "Caption" with one button that does nothing;
// it closes only by the window's own means.
namespace app {

class Propba : public platform::ui::WindowController
{
public:
    Propba();

    int init() override;
    int kill() override;
};

std::unique_ptr<platform::ui::WindowController> propba();

} // namespace app
