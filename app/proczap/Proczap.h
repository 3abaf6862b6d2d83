#pragma once

#include "platform/text/FixedString.h"
#include "platform/ui/WindowController.h"

#include <cstdint>

// "Запрос подтверждения": one of three fixed yes/no questions asked before the basket changes.
namespace app {

class Proczap : public platform::ui::WindowController
{
public:
    explicit Proczap(uint8_t selector);

    int init() override;
    int kill() override;
    int takeAccepted() override;

    uint8_t result() const { return m_result; }

    static constexpr uint8_t Yes = 5;

private:
    uint8_t m_selector;
    platform::text::FixedString<100> m_question;
    uint8_t m_result = 0;
};

// Question selectors.
namespace ConfirmQuestion {
constexpr uint8_t PriceCheck = 1;
constexpr uint8_t NewOrder = 2;
constexpr uint8_t OpenOrder = 3;
} // namespace ConfirmQuestion

// Runs the dialog on the caller's thread: 5 for "Да", 0 for "Нет" or any other close.
uint8_t proczap(uint8_t selector);

} // namespace app
