#include "platform/ui/list/ListModel.h"

#include "platform/storage/ErrorState.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/list/ListView.h"
#include "platform/ui/list/RecordFields.h"

#include <QColor>
#include <QMimeData>

#include <algorithm>
#include <cstring>

namespace platform::ui {

ListModel::ListModel(storage::View& view, QObject* parent)
    : QAbstractTableModel(parent), m_view(&view)
{
}

void ListModel::setFields(std::vector<int> fields)
{
    beginResetModel();
    m_fields = std::move(fields);
    endResetModel();
}

void ListModel::setColumns(std::vector<ListColumn> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    endResetModel();
}

void ListModel::setStyleFonts(std::map<int, QFont> fonts)
{
    m_styleFonts = std::move(fonts);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rows() - 1, columnCount() - 1));
}

void ListModel::setIcons(std::vector<QIcon> icons)
{
    m_icons = std::move(icons);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rows() - 1, columnCount() - 1));
}

std::vector<std::byte> ListModel::buffer() const
{
    storage::RecordFile& file = m_view->file();
    const std::byte* at = file.buffer();
    return {at, at + file.layout().recordSize};
}

void ListModel::setBuffer(const std::vector<std::byte>& record)
{
    std::memcpy(m_view->file().buffer(), record.data(), record.size());
}

bool ListModel::read(bool forward)
{
    ++m_recordsRead;
    return (forward ? m_view->next() : m_view->previous()) == 0;
}

ListRow ListModel::makeRow() const
{
    ListRow row;
    row.record = buffer();
    const storage::FileLayout& layout = m_view->file().layout();
    const std::size_t columns = static_cast<std::size_t>(columnCount());
    row.cells.resize(columns);
    row.colours.resize(columns);
    row.icons.resize(columns, 0);
    for (std::size_t c = 0; c < m_fields.size() && c < columns; ++c) {
        const int field = m_fields[c];
        if (field >= 0 && field < static_cast<int>(layout.fields.size()))
            row.cells[c] = RecordFields::text(layout.fields[static_cast<std::size_t>(field)],
                                              row.record.data());
    }
    if (m_rowFill)
        m_rowFill(row);
    return row;
}

bool ListModel::onPage(const std::vector<std::byte>& record) const
{
    return rowOfRecord(record) >= 0;
}

int ListModel::rowOfRecord(const std::vector<std::byte>& record) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].record == record)
            return static_cast<int>(i);
    return -1;
}

void ListModel::positionAt(std::int64_t ordinal)
{
    m_view->setStart();
    for (std::int64_t i = 0; i < ordinal && read(true); ++i) {
    }
}

// Reads up to count records beyond the anchor (a record of the page) in the given direction,
// skipping the records already on the page: in a key's order the view starts at the anchor's
// key value, which also gives the records that share it.
std::vector<ListRow> ListModel::readFrom(const std::vector<std::byte>& anchor, bool forward,
                                         int count, bool& ended)
{
    std::vector<ListRow> found;
    ended = false;
    if (m_view->key() < 0) {
        const std::int64_t start = forward ? m_firstOrdinal + rows()
                                           : std::max<std::int64_t>(0, m_firstOrdinal - count);
        const int wanted = forward ? count : static_cast<int>(m_firstOrdinal - start);
        positionAt(start);
        while (static_cast<int>(found.size()) < wanted && read(true))
            found.push_back(makeRow());
        if (forward)
            ended = static_cast<int>(found.size()) < wanted;
        else
            ended = start == 0;
        if (!forward)
            std::reverse(found.begin(), found.end());
        return found;
    }
    setBuffer(anchor);
    m_view->setFromBuffer();
    while (static_cast<int>(found.size()) < count) {
        if (!read(forward)) {
            ended = true;
            break;
        }
        if (onPage(buffer()))
            continue;
        found.push_back(makeRow());
    }
    return found;
}

void ListModel::replaceRows(std::vector<ListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ListModel::finishLoad()
{
    if (m_pageFill)
        m_pageFill();
}

void ListModel::clear()
{
    replaceRows({});
    m_atStart = m_atEnd = true;
    m_firstOrdinal = 0;
}

int ListModel::loadFirst()
{
    std::vector<ListRow> loaded;
    m_view->setStart();
    const std::size_t limit = m_wholeFile ? SIZE_MAX : static_cast<std::size_t>(m_pageSize);
    bool ended = false;
    while (loaded.size() < limit) {
        if (!read(true)) {
            ended = true;
            break;
        }
        loaded.push_back(makeRow());
    }
    if (!ended && !m_wholeFile)
        ended = !read(true); // one look ahead tells whether the page is the last
    m_atStart = true;
    m_atEnd = ended || m_wholeFile;
    m_firstOrdinal = 0;
    replaceRows(std::move(loaded));
    finishLoad();
    return m_rows.empty() ? -1 : 0;
}

int ListModel::loadLast()
{
    if (m_wholeFile) {
        loadFirst();
        return m_rows.empty() ? -1 : rows() - 1;
    }
    std::vector<ListRow> loaded;
    m_view->setEnd();
    bool ended = false;
    while (static_cast<int>(loaded.size()) < m_pageSize) {
        if (!read(false)) {
            ended = true;
            break;
        }
        loaded.push_back(makeRow());
    }
    std::reverse(loaded.begin(), loaded.end());
    m_atEnd = true;
    m_atStart = ended;
    if (m_view->key() < 0) {
        // The page's place in physical order is needed to scroll back from it.
        m_firstOrdinal = std::max<std::int64_t>(0, m_view->records() - rows());
    }
    replaceRows(std::move(loaded));
    finishLoad();
    return m_rows.empty() ? -1 : rows() - 1;
}

int ListModel::loadFromBuffer(bool reread)
{
    const std::vector<std::byte> wanted = buffer();
    if (m_wholeFile) {
        if (reread || m_rows.empty())
            loadFirst();
        if (m_rows.empty())
            return -1;
        setBuffer(wanted);
        m_view->setFromBuffer();
        if (!read(true))
            return rows() - 1;
        const int at = rowOfRecord(buffer());
        return at >= 0 ? at : rows() - 1;
    }
    if (m_view->key() < 0) {
        m_view->setStart();
        std::int64_t ordinal = 0;
        bool found = false;
        while (read(true)) {
            if (buffer() == wanted) {
                found = true;
                break;
            }
            ++ordinal;
        }
        if (!found)
            return loadFirst();
        m_firstOrdinal = ordinal;
        m_rows.clear();
        bool ended = false;
        std::vector<ListRow> loaded = readFrom({}, true, m_pageSize, ended);
        m_atEnd = ended;
        m_atStart = ordinal == 0;
        replaceRows(std::move(loaded));
        finishLoad();
        return m_rows.empty() ? -1 : 0;
    }
    m_view->setFromBuffer();
    if (!read(true))
        return loadLast();
    // The found record, the page after it and one look ahead; the rows read so far stand in
    // for the page so that the reads skip them.
    m_rows = {makeRow()};
    bool ended = false;
    std::vector<ListRow> after = readFrom(m_rows.front().record, true, m_pageSize, ended);
    m_atEnd = static_cast<int>(after.size()) < m_pageSize;
    if (!m_atEnd)
        after.pop_back();
    m_rows.insert(m_rows.end(), after.begin(), after.end());
    int highlight = 0;
    bool started = false;
    if (rows() < m_pageSize) {
        // Near the end the page is filled up with the records before the found one.
        std::vector<ListRow> before =
            readFrom(m_rows.front().record, false, m_pageSize - rows(), started);
        std::reverse(before.begin(), before.end());
        highlight = static_cast<int>(before.size());
        before.insert(before.end(), m_rows.begin(), m_rows.end());
        m_rows = std::move(before);
    } else {
        readFrom(m_rows.front().record, false, 1, started);
    }
    m_atStart = started;
    std::vector<ListRow> page = std::move(m_rows);
    m_rows.clear();
    replaceRows(std::move(page));
    finishLoad();
    return highlight;
}

int ListModel::scroll(int count)
{
    if (m_wholeFile || m_rows.empty() || count == 0)
        return 0;
    const bool forward = count > 0;
    if ((forward && m_atEnd) || (!forward && m_atStart))
        return 0;
    const int wanted = std::min(std::abs(count), m_pageSize);
    bool ended = false;
    std::vector<ListRow> found =
        readFrom(forward ? m_rows.back().record : m_rows.front().record, forward, wanted, ended);
    const int moved = static_cast<int>(found.size());
    std::vector<ListRow> page;
    if (forward) {
        page.assign(m_rows.begin() + std::min(moved, rows()), m_rows.end());
        page.insert(page.end(), found.begin(), found.end());
        m_atEnd = ended;
        m_atStart = false;
        m_firstOrdinal += moved;
    } else {
        std::reverse(found.begin(), found.end());
        page = std::move(found);
        page.insert(page.end(), m_rows.begin(),
                    m_rows.end() - std::min(moved, rows()));
        m_atStart = ended;
        m_atEnd = false;
        m_firstOrdinal = std::max<std::int64_t>(0, m_firstOrdinal - moved);
    }
    if (ended && moved < wanted) {
        if (forward)
            m_atEnd = true;
        else
            m_atStart = true;
    }
    replaceRows(std::move(page));
    finishLoad();
    return moved;
}

void ListModel::insertBlankRow(int at)
{
    at = std::clamp(at, 0, rows());
    ListRow blank;
    const auto columns = static_cast<std::size_t>(columnCount());
    blank.cells.resize(columns);
    blank.colours.resize(columns);
    blank.icons.resize(columns, 0);
    beginInsertRows({}, at, at);
    m_rows.insert(m_rows.begin() + at, std::move(blank));
    endInsertRows();
}

void ListModel::removeBlankRow(int at)
{
    if (at < 0 || at >= rows())
        return;
    beginRemoveRows({}, at, at);
    m_rows.erase(m_rows.begin() + at);
    endRemoveRows();
}

int ListModel::fetchRecord(int index)
{
    if (index < 0 || index >= rows()) {
        storage::setError(storage::Error::RecordNotFound, m_view->file().label());
        return storage::Error::RecordNotFound;
    }
    storage::RecordFile& file = m_view->file();
    const std::vector<std::byte>& record = row(index).record;
    setBuffer(record);
    const int key = m_view->key();
    if (key >= 0 && file.layout().keys[static_cast<std::size_t>(key)].unique)
        return file.get(key);
    const int positioned = key >= 0 ? file.setKeyFromBuffer(key) : file.setFileOrder();
    if (positioned != 0)
        return positioned;
    while (file.next() == 0) {
        if (buffer() == record)
            return 0;
    }
    setBuffer(record);
    storage::setError(storage::Error::RecordNotFound, file.label());
    return storage::Error::RecordNotFound;
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows();
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(std::max(m_columns.size(), m_fields.size()));
}

QVariant ListModel::colour(int value) const
{
    if (value < 0)
        return {};
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows() || index.column() >= columnCount())
        return {};
    const ListRow& r = row(index.row());
    const auto c = static_cast<std::size_t>(index.column());
    const ListColumn* column = c < m_columns.size() ? &m_columns[c] : nullptr;
    const CellColours colours = c < r.colours.size() ? r.colours[c] : CellColours{};
    switch (role) {
    case Qt::DisplayRole:
        return c < r.cells.size() ? text::toQString(r.cells[c]) : QString();
    case Qt::ForegroundRole:
        return colour(colours.text >= 0 ? colours.text : (column ? column->textColour : -1));
    case Qt::BackgroundRole:
        return colour(colours.back);
    case SelectedTextRole:
        return colour(colours.selectedText);
    case SelectedBackRole:
        return colour(colours.selectedBack);
    case Qt::DecorationRole: {
        const int icon = c < r.icons.size() ? r.icons[c] : 0;
        if (icon > 0 && static_cast<std::size_t>(icon) <= m_icons.size())
            return m_icons[static_cast<std::size_t>(icon - 1)];
        return {};
    }
    case Qt::FontRole:
        if (column && column->style > 0) {
            const auto font = m_styleFonts.find(column->style);
            if (font != m_styleFonts.end())
                return font->second;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (column && column->align == 'R')
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (column && column->align == 'C')
            return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto c = static_cast<std::size_t>(section);
    return c < m_columns.size() ? text::toQString(m_columns[c].header) : QString();
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && !m_dragId.empty())
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList ListModel::mimeTypes() const
{
    return {ListView::dragFormat()};
}

QMimeData* ListModel::mimeData(const QModelIndexList& indexes) const
{
    if (m_dragId.empty() || indexes.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(ListView::dragFormat(), QByteArray::fromStdString(m_dragId));
    return data;
}

} // namespace platform::ui
