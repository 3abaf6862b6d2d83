#pragma once

#include <string_view>

namespace platform::ui {
class ProgressWindow;
}

// Gives a progress window the title and the cancel button's caption of its definition
// ("P1$PROGRESSWINDOW" of the module); without the definition the window keeps its own.
namespace app {

void ApplyProgressDefinition(platform::ui::ProgressWindow& window, std::string_view module);

} // namespace app
