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

    // Reads every passing record of the view (from its start); fields are layout indexes.
    void fill(storage::View& view, int shownField, int copiedField);
    int entries() const { return static_cast<int>(m_values.size()); }
    // Chooses an entry (from 0) as the user would.
    void choose(int entry);

    std::vector<std::string> rows() const override;
    bool selectRow(int row) override;

protected:
    void showText(const QString& text) override;

private:
    QPointer<QComboBox> m_box;
    std::vector<std::string> m_shown;
    std::vector<std::string> m_values;
    bool m_filling = false;
};

} // namespace platform::ui
