#pragma once

#include "platform/ui/list/Locator.h"

// Each typed character alone locates: the highlight goes to the first record at or after it.
namespace platform::ui {

class StepLocator : public Locator
{
public:
    using Locator::Locator;
    bool takeCharacter(char typed) override;
};

} // namespace platform::ui
