#pragma once

#include "platform/ui/Control.h"

#include <QPointer>

#include <string>
#include <vector>

class QComboBox;

namespace platform::storage {
class View;
}

// The control kind "droplist": a drop-down list filled from a view of a file. Each entry shows
// one field of a record; choosing it copies another field (or the same) of that record into the
// control's variable and raises the new selection.
namespace platform::ui {

class DropList : public Control
{
public:
    DropList(Window& window, const ControlDefinition& definition, QWidget* parent);

    QWidget* widget() const override;
    int typeCode() const override { return TypeCode::DropList; }

    // A column of the drop-down part: its heading (Windows-1251) and width in dialog units.
    struct Column
    {
        std::string heading;
        int width = 0;
    };
    // With two or more columns the drop-down part is a table with centred, resizable headings
    // and left-aligned cells, one column per shown field.
    void setColumns(std::vector<Column> columns);

    // Reads every passing record of the view (from its start); fields are layout indexes.
    void fill(storage::View& view, int shownField, int copiedField);
    void fill(storage::View& view, const std::vector<int>& shownFields, int copiedField);
    int entries() const { return static_cast<int>(m_values.size()); }
    // Chooses an entry (from 0) as the user would.
    void choose(int entry);
    // A shown field (column from 0) of the entry the list shows now; empty when it shows none.
    std::string currentCell(int column) const;

    // The entry the list shows, not the value copied behind it.
    std::string shownText() const override;
    std::vector<std::string> rows() const override;
    bool selectRow(int row) override;

protected:
    void showText(const QString& text) override;

private:
    QPointer<QComboBox> m_box;
    std::vector<Column> m_columns;
    std::vector<std::vector<std::string>> m_cells;
    std::vector<std::string> m_shown;
    std::vector<std::string> m_values;
    bool m_filling = false;
};

} // namespace platform::ui
