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
    const int code = forward ? m_view->next() : m_view->previous();
    noteReadFailure(code);
    return code == 0;
}

void ListModel::noteReadFailure(int code)
{
    // The end of the order is no failure, nor a file whose refused open was said already.
    if (code != 0 && code != storage::Error::RecordNotAvailable &&
        code != storage::Error::FileNotOpen && m_readFailure == 0) {
        m_readFailure = code;
        m_readFailureFile = storage::errorFile();
    }
}

int ListModel::takeReadFailure(std::string& file)
{
    const int code = m_readFailure;
    file = std::move(m_readFailureFile);
    m_readFailure = 0;
    m_readFailureFile.clear();
    return code;
}

ListRow ListModel::makeRow() const
{
    ListRow row;
    row.record = buffer();
    row.position = m_view->file().position();
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

int ListModel::rowOfRecord(const std::vector<std::byte>& record) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].record == record)
            return static_cast<int>(i);
    return -1;
}

int ListModel::rowOfPosition(std::int64_t position) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].position == position)
            return static_cast<int>(i);
    return -1;
}

std::vector<ListRow> ListModel::readRows(bool forward, std::size_t count)
{
    std::vector<ListRow> found;
    while (found.size() < count && read(forward))
        found.push_back(makeRow());
    return found;
}

std::vector<ListRow> ListModel::readBeyond(const std::vector<std::byte>& record,
                                           std::int64_t position, bool forward, std::size_t count)
{
    setBuffer(record);
    m_view->setAt(position);
    return readRows(forward, count);
}

std::vector<ListRow> ListModel::readFromEnd(bool forward, std::size_t count)
{
    if (forward)
        m_view->setStart();
    else
        m_view->setEnd();
    return readRows(forward, count);
}

void ListModel::replaceRows(std::vector<ListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    ++m_rowsRead;
    endResetModel();
}

void ListModel::learnShare()
{
    m_endsKnown = false;
    if (m_wholeFile || m_rows.empty())
        return;
    // The last position in the file is about its record count (exact until records are
    // deleted) and is one lookup where a count reads the whole file.
    std::int64_t records = rows();
    if (!(m_atStart && m_atEnd)) {
        storage::RecordFile& file = m_view->file();
        const int code = file.setFileOrder() == 0 ? file.previous() : storage::errorCode();
        if (code == 0)
            records = std::max<std::int64_t>(records, file.position());
        noteReadFailure(code);
    }
    m_share = records > 0 ? std::min(1.0, double(rows()) / double(records)) : 1.0;
    placeInside();
}

void ListModel::placeInside()
{
    // A page at an end of the order is placed without them; a narrow search whose first page
    // is all the user looks at never reads the far end.
    if (m_endsKnown || m_wholeFile || m_rows.empty() || m_atStart || m_atEnd)
        return;
    readEnds();
}

void ListModel::readEnds()
{
    const std::vector<ListRow> first = readFromEnd(true, 1);
    const std::vector<ListRow> last = readFromEnd(false, 1);
    const ListRow& firstRow = first.empty() ? m_rows.front() : first.front();
    const ListRow& lastRow = last.empty() ? m_rows.back() : last.front();
    m_place = KeyPlace(m_view->file().layout(), m_view->key());
    m_place.setEnds(firstRow.record.data(), firstRow.position, lastRow.record.data(),
                    lastRow.position);
    m_endsKnown = true;
}

double ListModel::pagePlace() const
{
    if (m_rows.empty() || m_atStart)
        return 0.0;
    if (m_atEnd)
        return 1.0;
    return m_place.fraction(m_rows.front().record.data(), m_rows.front().position);
}

int ListModel::loadAtPlace(double place)
{
    if (m_wholeFile)
        return -1;
    if (place <= 0.0)
        return loadFirst();
    if (place >= 1.0)
        return loadLast();
    if (!m_endsKnown) {
        if (m_rows.empty())
            return loadFirst();
        readEnds();
    }
    std::vector<std::byte> values(m_view->file().layout().recordSize);
    const std::int64_t position = m_place.target(place, values.data());
    setBuffer(values);
    return position > 0 ? loadAt(position, 0) : loadFromBuffer(true);
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
}

std::size_t ListModel::page() const
{
    return static_cast<std::size_t>(m_pageSize);
}

int ListModel::loadFirst()
{
    // One record beyond the page tells whether the page is the last.
    std::vector<ListRow> loaded = readFromEnd(true, m_wholeFile ? SIZE_MAX : page() + 1);
    m_atStart = true;
    m_atEnd = m_wholeFile || loaded.size() <= page();
    if (!m_wholeFile && loaded.size() > page())
        loaded.resize(page());
    replaceRows(std::move(loaded));
    learnShare();
    finishLoad();
    return m_rows.empty() ? -1 : 0;
}

int ListModel::loadLast()
{
    if (m_wholeFile) {
        loadFirst();
        return m_rows.empty() ? -1 : rows() - 1;
    }
    std::vector<ListRow> loaded = readFromEnd(false, page() + 1);
    m_atEnd = true;
    m_atStart = loaded.size() <= page();
    if (loaded.size() > page())
        loaded.resize(page());
    std::reverse(loaded.begin(), loaded.end());
    replaceRows(std::move(loaded));
    learnShare();
    finishLoad();
    return m_rows.empty() ? -1 : rows() - 1;
}

int ListModel::loadFromBuffer(bool reread)
{
    if (m_wholeFile && !reread && !m_rows.empty()) {
        m_view->setFromBuffer();
        if (!read(true))
            return rows() - 1;
        const int at = rowOfPosition(m_view->file().position());
        return at >= 0 ? at : rows() - 1;
    }
    m_view->setFromBuffer();
    if (!read(true))
        return loadLast();
    return loadAt(m_view->file().position(), 0);
}

int ListModel::loadAt(std::int64_t position, int preferredRow)
{
    const std::vector<std::byte> anchor = buffer();
    if (m_wholeFile) {
        loadFirst();
        const int at = rowOfPosition(position);
        if (at >= 0 || m_rows.empty())
            return at;
        // Gone: the record that now stands at its place in the order.
        const std::vector<ListRow> next = readBeyond(anchor, position - 1, true, 1);
        const int found = next.empty() ? -1 : rowOfPosition(next.front().position);
        return found >= 0 ? found : rows() - 1;
    }
    // Positions are whole numbers: beyond (values, position - 1) is at or after the place.
    std::vector<ListRow> after = readBeyond(anchor, position - 1, true, page() + 1);
    if (after.empty())
        return loadLast();
    const std::size_t afterShown = std::min(after.size(), page());
    // The records before it fill the rows above the preferred row, and the page when the
    // order ends before the page is full; one more tells whether the page is the first.
    const std::size_t wantedBefore = std::min<std::size_t>(
        page() - 1, std::max<std::size_t>(static_cast<std::size_t>(std::max(preferredRow, 0)),
                                          page() - afterShown));
    std::vector<ListRow> before =
        readBeyond(after.front().record, after.front().position, false, wantedBefore + 1);
    const std::size_t beforeShown = std::min(before.size(), wantedBefore);
    const std::size_t shownAfter = std::min(after.size(), page() - beforeShown);
    m_atStart = before.size() <= wantedBefore;
    m_atEnd = shownAfter == after.size();
    std::vector<ListRow> loaded(before.rend() - static_cast<std::ptrdiff_t>(beforeShown),
                                before.rend());
    loaded.insert(loaded.end(), after.begin(),
                  after.begin() + static_cast<std::ptrdiff_t>(shownAfter));
    replaceRows(std::move(loaded));
    learnShare();
    finishLoad();
    return static_cast<int>(beforeShown);
}

int ListModel::scroll(int count)
{
    if (m_wholeFile || m_rows.empty() || count == 0)
        return 0;
    const bool forward = count > 0;
    if ((forward && m_atEnd) || (!forward && m_atStart))
        return 0;
    const std::size_t wanted = std::min<std::size_t>(static_cast<std::size_t>(std::abs(count)), page());
    const ListRow& edge = forward ? m_rows.back() : m_rows.front();
    std::vector<ListRow> found = readBeyond(edge.record, edge.position, forward, wanted + 1);
    const bool more = found.size() > wanted;
    if (more)
        found.resize(wanted);
    if (found.empty()) {
        (forward ? m_atEnd : m_atStart) = true;
        return 0;
    }
    const int moved = static_cast<int>(found.size());
    std::vector<ListRow> loaded;
    if (forward) {
        loaded = std::move(m_rows);
        loaded.insert(loaded.end(), std::make_move_iterator(found.begin()),
                      std::make_move_iterator(found.end()));
        if (loaded.size() > page()) {
            loaded.erase(loaded.begin(), loaded.end() - static_cast<std::ptrdiff_t>(page()));
            m_atStart = false;
        }
        m_atEnd = !more;
    } else {
        loaded.assign(std::make_move_iterator(found.rbegin()), std::make_move_iterator(found.rend()));
        loaded.insert(loaded.end(), std::make_move_iterator(m_rows.begin()),
                      std::make_move_iterator(m_rows.end()));
        if (loaded.size() > page()) {
            loaded.resize(page());
            m_atEnd = false;
        }
        m_atStart = !more;
    }
    replaceRows(std::move(loaded));
    placeInside();
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
    storage::RecordFile& file = m_view->file();
    if (index < 0 || index >= rows() || row(index).position == 0) {
        storage::setError(storage::Error::RecordNotFound, file.label());
        return storage::Error::RecordNotFound;
    }
    const ListRow& wanted = row(index);
    const int code = file.getAt(wanted.position);
    if (code == storage::Error::RecordNotFound)
        setBuffer(wanted.record);
    return code;
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
