#pragma once

#include <Qt>

#include <string>
#include <string_view>

class QKeyEvent;

// Key codes of the runtime (virtual key + 0x100 Shift, 0x200 Ctrl, 0x400 Alt) and their names
// as definitions and scripts write them ("Ctrl+Z", "Alt+Enter", "F12", "0x22D").
namespace platform::ui {

struct QtKey
{
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString text() const;
};

// The code of a key press; 0 for a press of a modifier alone or a key without a code.
// A Cyrillic letter counts as the Latin key at the same place, so hot keys work in either
// keyboard layout.
int keyCodeOf(const QKeyEvent& event);

// -1 when the name is not a key.
int keyCodeFromName(std::string_view name);
std::string keyName(int code);

QtKey qtKeyOf(int code);

} // namespace platform::ui
