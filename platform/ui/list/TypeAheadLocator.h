#pragma once

#include "platform/ui/list/Locator.h"

#include <functional>

// Typed characters add up to a search text (Backspace takes the last one back), shown in a
// control of the window while it grows.
namespace platform::ui {

class TypeAheadLocator : public Locator
{
public:
    using Locator::Locator;
    // Called with the search text (Windows-1251) whenever it changes.
    void setShown(std::function<void(const std::string&)> shown) { m_shown = std::move(shown); }

    bool takeCharacter(char typed) override;
    bool takeBackspace() override;
    void reset() override;

private:
    void show() const;

    std::function<void(const std::string&)> m_shown;
};

} // namespace platform::ui
