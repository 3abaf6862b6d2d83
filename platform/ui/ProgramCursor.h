#pragma once

#include <string_view>

// The cursor of the whole program: "wait" while long work runs, "" back to normal.
namespace platform::ui {

void setProgramCursor(std::string_view cursor);
bool programCursorIsWait();

} // namespace platform::ui
