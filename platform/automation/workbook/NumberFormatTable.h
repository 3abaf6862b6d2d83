#pragma once

#include <QString>

#include <optional>

namespace platform::automation::workbook {

// The number formats both file formats know by number without storing their text.
class NumberFormatTable
{
public:
    static constexpr int kFirstCustomId = 164;

    // The text of built-in format id; empty when the id is not a known built-in.
    static QString builtIn(int id);
    // The id under which a writer may store the format without its text: only the formats
    // that read the same in every language of the spreadsheet.
    static std::optional<int> portableId(const QString& format);
};

} // namespace platform::automation::workbook
