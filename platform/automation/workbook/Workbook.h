#pragma once

#include "platform/automation/workbook/Worksheet.h"

#include <QString>

#include <memory>
#include <vector>

namespace platform::automation::workbook {

// A workbook: its sheets in order (counted from 0 here) and the active one.
class Workbook
{
public:
    static constexpr int kMaxSheetNameLength = 31;

    Workbook() = default;
    Workbook(Workbook&&) noexcept = default;
    Workbook& operator=(Workbook&&) noexcept = default;

    // Adds a sheet at the end. An empty, invalid or taken name gives "SheetN", N the first
    // number not taken.
    Worksheet& addSheet(const QString& name = QString());
    int sheetCount() const { return static_cast<int>(m_sheets.size()); }
    Worksheet& sheet(int index) { return *m_sheets.at(static_cast<size_t>(index)); }
    const Worksheet& sheet(int index) const { return *m_sheets.at(static_cast<size_t>(index)); }
    int indexOf(const QString& name) const; // case-insensitive; -1 when absent
    // False (and nothing changed) when the name is invalid or taken by another sheet.
    bool renameSheet(int index, const QString& name);

    int activeSheetIndex() const { return m_activeSheet; }
    void setActiveSheetIndex(int index);
    Worksheet* activeSheet();

    // Up to 31 characters, not empty, none of : \ / ? * [ ], not starting or ending with '.
    static bool isValidSheetName(const QString& name);

private:
    std::vector<std::unique_ptr<Worksheet>> m_sheets;
    int m_activeSheet = 0;
};

} // namespace platform::automation::workbook
