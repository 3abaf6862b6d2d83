#pragma once

#include "platform/ui/WindowDefinition.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class QWidget;

namespace platform::ui {

class Control;
class Window;

// The control kinds a definition may use and how each is built. The built-in kinds are
// registered from the start; a kind added later (lists, images) registers its creator before
// the first window that uses it is loaded.
class ControlFactory
{
public:
    using Creator = std::function<std::unique_ptr<Control>(
        Window& window, const ControlDefinition& definition, QWidget* parent)>;

    static void registerKind(const std::string& kind, Creator creator);
    static bool isKnown(std::string_view kind);
    // nullptr for an unknown kind.
    static std::unique_ptr<Control> create(Window& window, const ControlDefinition& definition,
                                           QWidget* parent);
};

} // namespace platform::ui
