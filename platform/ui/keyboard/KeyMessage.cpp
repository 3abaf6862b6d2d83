#include "platform/ui/keyboard/KeyMessage.h"

#include "platform/ui/KeyCodes.h"
#include "platform/ui/Property.h"

#include <QKeyEvent>

namespace platform::ui::keyboard {
namespace {

constexpr std::uintptr_t kShiftKey = 0x10;
constexpr std::uintptr_t kControlKey = 0x11;
constexpr std::uintptr_t kAltKey = 0x12;
constexpr std::uintptr_t kKeyWithoutCode = 0xFF;

std::uintptr_t modifierKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Shift:
        return kShiftKey;
    case Qt::Key_Control:
        return kControlKey;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return kAltKey;
    default:
        return 0;
    }
}

} // namespace

KeyMessage keyMessageOf(const QKeyEvent& event)
{
    std::uintptr_t key = modifierKeyOf(event.key());
    if (key == 0)
        key = static_cast<std::uintptr_t>(keyCodeOf(event) & 0xFF);
    // A key the runtime has no code for (a letter of a layout without its Latin twin, say) is a
    // key press all the same.
    if (key == 0 && (event.key() != 0 || !event.text().isEmpty()))
        key = kKeyWithoutCode;
    if (key == 0)
        return {};
    // A modifier pressed alone is part of a chord, not typing: it goes as a system key, as Alt
    // does, so the layout switches Ctrl+Shift and Alt+Shift are alike to whoever counts key
    // presses.
    const bool system = (event.modifiers() & Qt::AltModifier) || modifierKeyOf(event.key()) != 0;
    return {system ? Message::SysKeyDown : Message::KeyDown, key};
}

} // namespace platform::ui::keyboard
