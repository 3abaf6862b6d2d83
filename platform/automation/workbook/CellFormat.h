#pragma once

#include "platform/automation/workbook/Alignment.h"
#include "platform/automation/workbook/Borders.h"
#include "platform/automation/workbook/Font.h"

#include <QString>

#include <cstddef>

namespace platform::automation::workbook {

struct CellFormat
{
    Font font;
    Alignment alignment;
    Borders borders;
    QString numberFormat = QStringLiteral("General");
    int fillColorIndex = Palette::kNone; // solid fill colour; kNone: no fill

    bool operator==(const CellFormat&) const = default;
};

// Lets the file writers collect the distinct formats of a workbook in a hash table.
struct CellFormatHash
{
    size_t operator()(const CellFormat& format) const;
};

} // namespace platform::automation::workbook
