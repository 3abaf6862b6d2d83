#pragma once

#include "platform/automation/workbook/Palette.h"

#include <QString>

namespace platform::automation::workbook {

// Underline kinds with the object model's constants.
enum class Underline : int { None = -4142, Single = 2, Double = -4119 };

struct Font
{
    QString name = QStringLiteral("Arial");
    double size = 10.0; // points
    bool bold = false;
    bool italic = false;
    Underline underline = Underline::None;
    int colorIndex = Palette::kAutomatic;

    bool operator==(const Font&) const = default;
};

} // namespace platform::automation::workbook
