#pragma once

namespace platform::automation::workbook {

// Alignment kinds carry the object model's constants, so a value set through the automation
// channel maps one to one.
enum class HorizontalAlignment : int {
    General = 1,
    Left = -4131,
    Center = -4108,
    Right = -4152,
    Fill = 5,
    Justify = -4130,
    CenterAcrossSelection = 7,
    Distributed = -4117,
};

enum class VerticalAlignment : int {
    Top = -4160,
    Center = -4108,
    Bottom = -4107,
    Justify = -4130,
    Distributed = -4117,
};

struct Alignment
{
    HorizontalAlignment horizontal = HorizontalAlignment::General;
    VerticalAlignment vertical = VerticalAlignment::Bottom;
    bool wrapText = false;

    bool operator==(const Alignment&) const = default;
};

} // namespace platform::automation::workbook
