#pragma once

#include "platform/ui/WindowController.h"

#include <memory>

// The about box: the program's purpose, the company and the rights; "ОК" closes it.
namespace app {

class Procoprog : public platform::ui::WindowController
{
public:
    Procoprog();

    int init() override;
    int kill() override;
    int takeAccepted() override;
};

// The procedure as the frame starts it on a thread of its own.
std::unique_ptr<platform::ui::WindowController> procoprog();

} // namespace app
