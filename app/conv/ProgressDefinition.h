#pragma once

#include <string>
#include <string_view>

namespace platform::ui {
class ProgressWindow;
}

// Gives a progress window the size, places, title and cancel caption of its definition
// ("P1$PROGRESSWINDOW" of the module); without the definition the window keeps its own.
namespace app {

void ApplyProgressDefinition(platform::ui::ProgressWindow& window, std::string_view module);

// A conversion's progress window as it opens: its definition, then the title "Processing
// Records", 0 % done and the user text (Windows-1251).
void OpenConversionProgress(platform::ui::ProgressWindow& window, std::string_view module,
                            const std::string& userText);

} // namespace app
