#pragma once

#include <QPalette>

namespace platform::ui {

// The light system colours the window definitions were drawn for: grey window and button
// faces, white lists and entries, black text. Their design colours (navy, dark red, purple)
// stay legible only on these.
QPalette systemColours();

// Makes those colours, drawn by the one style the layouts were measured with, the whole
// program's, whatever the desktop's theme, palette or style. Qt's own dialogs are drawn by the
// program too (not by the desktop), in the same colours. Called once the application object
// exists, before any window is made.
void useSystemColours();

} // namespace platform::ui
