#pragma once

#include <QStyledItemDelegate>

// Paints a list cell with the colours its row fill chose for the highlighted row (selected
// text and selected background), which a plain item view has no roles for.
namespace platform::ui {

class ListCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The style option this delegate paints a cell with (where its icon and text go).
    void describe(QStyleOptionViewItem* option, const QModelIndex& index) const
    {
        initStyleOption(option, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace platform::ui
