#pragma once

#include "platform/automation/workbook/CellValue.h"

#include <QString>

namespace platform::automation::workbook {

// What an entry gives a cell, as the spreadsheet takes a typed or assigned formula text.
// A text starting with "=" is a formula: it is kept, and its value is known when it is a
// constant ("=5", "=\"text\"", "=TRUE"). Formulas are not evaluated otherwise; this is the one
// place where an evaluator would plug in. Any other text is a constant entry: a number when
// it reads as one ("  12.50" gives 12.5), TRUE or FALSE, text after a leading "'", or text.
class FormulaValue
{
public:
    struct Entry
    {
        CellValue value;
        QString formula; // empty for a constant entry
    };

    static Entry evaluate(const QString& text);
    // A number written the spreadsheet's way: blanks around it, an optional sign, "." as the
    // point, an optional exponent. Nothing for anything else.
    static std::optional<double> parseNumber(QStringView text);
};

} // namespace platform::automation::workbook
