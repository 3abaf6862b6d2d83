#include "platform/automation/OleControl.h"

#include "platform/ui/ControlFactory.h"
#include "platform/ui/Window.h"

namespace platform::automation {
namespace {

// Any program that links the channel knows the kind before its first window loads; the factory's
// table is made on first use, so the order of static initialisation does not matter.
[[maybe_unused]] const bool registered = (OleControl::registerKind(), true);

} // namespace

OleControl::OleControl(platform::ui::Window& window,
                       const platform::ui::ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_area(new QWidget(parent))
{
    applyAppearance();
}

void OleControl::registerKind()
{
    platform::ui::ControlFactory::registerKind(
        "ole", [](platform::ui::Window& window, const platform::ui::ControlDefinition& definition,
                  QWidget* parent) { return std::make_unique<OleControl>(window, definition, parent); });
}

OleContainer* OleControl::containerOf(platform::ui::Window* window, int control)
{
    if (!window)
        return nullptr;
    auto* ole = dynamic_cast<OleControl*>(window->control(control));
    return ole ? &ole->container() : nullptr;
}

} // namespace platform::automation
