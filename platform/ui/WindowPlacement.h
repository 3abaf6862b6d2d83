#pragma once

#include "platform/ui/ScreenFit.h"

#include <optional>
#include <string_view>

class QWidget;

namespace platform::ui {

class DialogUnits;
class SettingsFile;

// Where a person left a top-level window, kept in a section of a settings file in the
// window's dialog units: "x", "y", "width" and "height" of its place when not maximised, and
// "maximized" ("1" or "0").

// None when the section holds no usable size.
std::optional<ScreenPlacement> fetchPlacement(const SettingsFile& settings,
                                              std::string_view section, const DialogUnits& du);
void storePlacement(SettingsFile& settings, std::string_view section, const QWidget& window,
                    const DialogUnits& du);

} // namespace platform::ui
