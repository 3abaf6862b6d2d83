#include "app/startup/KeyboardGuard.h"

#include "platform/ui/Control.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"
#include "platform/ui/keyboard/LayoutSource.h"

namespace app {

using namespace platform::ui;

int32_t KeyDownSeen = 0;
std::array<WindowProcedure, 34> PreviousWndProc{};

namespace {

int g_openHook = 0;

// The guard procedure of each guarded type; an OLE container has none and keeps its own.
WindowProcedure guardProcedureOf(int type)
{
    switch (type) {
    case TypeCode::Entry:
        return &KeyboardGuardWndProc<TypeCode::Entry>;
    case TypeCode::Button:
        return &KeyboardGuardWndProc<TypeCode::Button>;
    case TypeCode::Check:
        return &KeyboardGuardWndProc<TypeCode::Check>;
    case TypeCode::List:
        return &KeyboardGuardWndProc<TypeCode::List>;
    case TypeCode::Combo:
        return &KeyboardGuardWndProc<TypeCode::Combo>;
    case TypeCode::Spin:
        return &KeyboardGuardWndProc<TypeCode::Spin>;
    case TypeCode::Text:
        return &KeyboardGuardWndProc<TypeCode::Text>;
    case TypeCode::DropList:
        return &KeyboardGuardWndProc<TypeCode::DropList>;
    case TypeCode::DropCombo:
        return &KeyboardGuardWndProc<TypeCode::DropCombo>;
    default:
        return nullptr;
    }
}

bool isGuardedType(int type)
{
    return guardProcedureOf(type) != nullptr || type == TypeCode::Ole;
}

// Every control of a window that has just opened, and every control that gets the focus later
// (also one made after the window opened).
void attachToWindow(Window& window)
{
    for (int control = window.nextField(0); control != 0; control = window.nextField(control))
        GuardControlKeyboardLayout(window, control);
    window.addEventHandler(Event::Selected, [](Window& selected) {
        return GuardControlKeyboardLayout(selected, 0);
    });
}

} // namespace

bool KeyboardGuardQualifies(uint32_t version)
{
    const uint32_t major = version & 0xFF;
    const uint32_t minor = (version >> 8) & 0xFF;
    return major >= 5 && minor >= 1;
}

void InstallKeyboardGuard()
{
    if (g_openHook != 0 || !keyboard::layoutSource())
        return;
    g_openHook = Window::addOpenHook(attachToWindow);
}

bool KeyboardGuardInstalled()
{
    return g_openHook != 0;
}

void RemoveKeyboardGuard()
{
    if (g_openHook != 0)
        Window::removeOpenHook(g_openHook);
    g_openHook = 0;
}

int GuardControlKeyboardLayout(Window& window, int control)
{
    if (control == 0)
        control = window.selected();
    Control* target = window.control(control);
    if (!target)
        return 0;
    int type = target->typeCode();
    if (!isGuardedType(type))
        return 0;
    if (type == TypeCode::List && window.propertyNumber(control, Property::Drop) != 0)
        type = TypeCode::DropList;
    else if (type == TypeCode::Combo && window.propertyNumber(control, Property::Drop) != 0)
        type = TypeCode::DropCombo;
    WindowProcedure& previous = PreviousWndProc[static_cast<std::size_t>(type - 1)];
    if (!previous)
        previous = target->procedure();
    // A control guarded already, or one carrying a procedure of its own, is left alone.
    if (target->procedure() == previous)
        if (const WindowProcedure guard = guardProcedureOf(type))
            target->setProcedure(guard);
    KeyDownSeen = 0;
    return 0;
}

template <int Type>
std::intptr_t KeyboardGuardWndProc(void* handle, unsigned message, std::uintptr_t wParam,
                                   std::intptr_t lParam)
{
    if (message == Message::KeyDown) {
        KeyDownSeen = 1;
    } else if (message == Message::InputLanguageChangeRequest) {
        if (KeyDownSeen == 0)
            return 0;
        KeyDownSeen = 0;
    }
    const WindowProcedure previous = PreviousWndProc[Type - 1];
    return (previous ? previous : &defaultWindowProcedure)(handle, message, wParam, lParam);
}

} // namespace app
