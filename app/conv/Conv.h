#pragma once

#include "platform/ui/WindowController.h"

#include <memory>

// The data conversion window: tells what the conversion does and, on its button, converts the
// price list and then the requisites, says how it went and closes.
namespace app {

class Conv : public platform::ui::WindowController
{
public:
    Conv();

    int init() override;
    int kill() override;
    int takeAccepted() override;
};

// The procedure as the frame starts it on a thread of its own.
std::unique_ptr<platform::ui::WindowController> conv();

} // namespace app
