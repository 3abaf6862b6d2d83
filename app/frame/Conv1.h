#pragma once

#include "platform/ui/WindowController.h"

#include <cstdint>

// The database check: tells the user that the data files do not match the program and asks
// whether to clear the price list ("Выполнить") or to leave ("Выйти").
namespace app {

class Conv1 : public platform::ui::WindowController
{
public:
    Conv1();

    int init() override;
    int kill() override;
    int takeAccepted() override;

    uint8_t result() const { return m_result; }

private:
    uint8_t m_result = 0; // closing the window any other way than "Выполнить" gives 0
};

// 1 for "Выполнить", 0 for "Выйти" or any other close.
uint8_t conv1();

} // namespace app
