#include "platform/ui/list/DropList.h"

#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/RecordFields.h"

#include <QComboBox>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>

namespace platform::ui {

DropList::DropList(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_box(new QComboBox(parent))
{
    m_box->setEditable(false);
    QObject::connect(m_box, &QComboBox::activated, m_box, [this](int entry) { choose(entry); });
    applyAppearance();
}

QWidget* DropList::widget() const
{
    return m_box;
}

void DropList::setColumns(std::vector<Column> columns)
{
    m_columns = std::move(columns);
    if (m_columns.size() < 2)
        return;
    auto* table = new QTreeView(m_box);
    table->setRootIsDecorated(false);
    table->setItemsExpandable(false);
    table->setUniformRowHeights(true);
    table->setAllColumnsShowFocus(true);
    table->header()->setDefaultAlignment(Qt::AlignCenter);
    table->header()->setSectionResizeMode(QHeaderView::Interactive);
    table->header()->setStretchLastSection(false);
    // The model goes first: the view's header sizes belong to the model it shows.
    m_box->setModel(new QStandardItemModel(0, static_cast<int>(m_columns.size()), m_box));
    m_box->setView(table);
    const DialogUnits units = m_window.units();
    int width = 0;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        m_box->model()->setHeaderData(static_cast<int>(i), Qt::Horizontal,
                                      text::toQString(m_columns[i].heading));
        table->setColumnWidth(static_cast<int>(i), units.toPixelsX(m_columns[i].width));
        width += units.toPixelsX(m_columns[i].width);
    }
    table->setMinimumWidth(width + table->frameWidth() * 2 + 20);
    table->setStyleSheet(QStringLiteral("QTreeView::item { padding-left: %1px; }").arg(units.toPixelsX(2)));
}

void DropList::fill(storage::View& view, int shownField, int copiedField)
{
    fill(view, std::vector<int>{shownField}, copiedField);
}

void DropList::fill(storage::View& view, const std::vector<int>& shownFields, int copiedField)
{
    const auto& fields = view.file().layout().fields;
    const auto valid = [&](int field) { return field >= 0 && field < static_cast<int>(fields.size()); };
    if (shownFields.empty() || !valid(copiedField) || !std::all_of(shownFields.begin(), shownFields.end(), valid))
        return;
    m_cells.clear();
    m_shown.clear();
    m_values.clear();
    view.setStart();
    while (view.next() == 0) {
        const std::byte* record = view.file().buffer();
        std::vector<std::string> cells;
        for (int field : shownFields)
            cells.push_back(RecordFields::text(fields[static_cast<std::size_t>(field)], record));
        std::string joined;
        for (const std::string& cell : cells)
            joined += (joined.empty() ? "" : " | ") + cell;
        m_shown.push_back(joined);
        m_cells.push_back(std::move(cells));
        m_values.push_back(RecordFields::text(fields[static_cast<std::size_t>(copiedField)], record));
    }
    m_filling = true;
    if (auto* table = qobject_cast<QStandardItemModel*>(m_box->model()); table && m_columns.size() > 1) {
        table->removeRows(0, table->rowCount());
        for (const auto& cells : m_cells) {
            QList<QStandardItem*> row;
            for (int column = 0; column < table->columnCount(); ++column) {
                const std::string cell = column < static_cast<int>(cells.size())
                                             ? cells[static_cast<std::size_t>(column)] : std::string();
                auto* item = new QStandardItem(text::toQString(cell).trimmed());
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
                item->setEditable(false);
                row << item;
            }
            table->appendRow(row);
        }
    } else {
        m_box->clear();
        for (const auto& cells : m_cells)
            m_box->addItem(text::toQString(cells.front()));
    }
    m_filling = false;
    refresh(true);
}

void DropList::choose(int entry)
{
    if (m_filling || entry < 0 || entry >= entries())
        return;
    const std::string& value = m_values[static_cast<std::size_t>(entry)];
    if (m_binding)
        m_binding->setText(value);
    m_text = value;
    m_lastShown = shownValue();
    m_box->setCurrentIndex(entry);
    m_window.raise(Event::NewSelection, number());
}

std::string DropList::currentCell(int column) const
{
    const int entry = m_box ? m_box->currentIndex() : -1;
    if (entry < 0 || entry >= static_cast<int>(m_cells.size()))
        return {};
    const auto& cells = m_cells[static_cast<std::size_t>(entry)];
    return column >= 0 && column < static_cast<int>(cells.size())
               ? cells[static_cast<std::size_t>(column)]
               : std::string();
}

void DropList::showText(const QString& text)
{
    // The variable's value picks the entry that copies it; an unknown value shows none.
    std::string value = text::fromQString(text);
    while (!value.empty() && value.back() == ' ')
        value.pop_back();
    int found = -1;
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        if (m_values[i] == value) {
            found = static_cast<int>(i);
            break;
        }
    }
    m_filling = true;
    m_box->setCurrentIndex(found);
    m_filling = false;
}

std::string DropList::shownText() const
{
    return text::fromQString(m_box->currentText());
}

std::vector<std::string> DropList::rows() const
{
    return m_shown;
}

bool DropList::selectRow(int row)
{
    if (row < 1 || row > entries())
        return false;
    choose(row - 1);
    return true;
}

} // namespace platform::ui
