#pragma once

#include "platform/ui/SettingsFile.h"

// The program's settings-file object, bound to "quelbarto.INI" by the main program for the
// whole run. The windows read and write their entries with full file names.
namespace app {

platform::ui::SettingsFile& ProgramSettings();

inline constexpr const char* SettingsFileName = "quelbarto.INI";

} // namespace app
