#pragma once

#include "platform/ui/WindowDefinition.h"

#include <QColor>
#include <QFont>

#include <string_view>

// Fonts and colours of window definitions on this system.
namespace platform::ui {

// The installed family standing in for a family of the definitions: "MS Sans Serif" and
// "Arial" take a metric-compatible sans serif, "Arial Narrow" its narrow cut, "Times New Roman"
// a serif, "Courier New" a monospace; a family that is installed is taken as it is.
QString fontFamilyFor(std::string_view name);

// The font of a definition over the inherited one (the window's font for its controls).
QFont fontOf(const FontDefinition& definition, const QFont& inherited);

// Colour values are 0x00BBGGRR; -1 (or any negative value) is "default" (an invalid QColor).
QColor colourOf(int value);
int colourValueOf(const QColor& colour);

} // namespace platform::ui
