#include "platform/ui/list/ListCellDelegate.h"

#include "platform/ui/list/ListModel.h"

#include <QColor>

namespace platform::ui {

void ListCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(option->state & QStyle::State_Selected))
        return;
    const QVariant text = index.data(ListModel::SelectedTextRole);
    const QVariant back = index.data(ListModel::SelectedBackRole);
    if (text.isValid())
        option->palette.setColor(QPalette::HighlightedText, text.value<QColor>());
    if (back.isValid())
        option->palette.setColor(QPalette::Highlight, back.value<QColor>());
}

} // namespace platform::ui
