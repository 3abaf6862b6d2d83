#pragma once

#include "platform/ui/list/KeyPlace.h"
#include "platform/ui/list/ListFormat.h"
#include "platform/ui/list/ListRow.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QIcon>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform::storage {
class View;
}

// The rows of a browse list over a view of one record file. Page loading keeps only the rows
// of the visible page and reads about a page from the file for each move, from the place of
// the page's edge row (its key values and position, unique among equal values); whole-file
// loading reads every passing record once. Each row keeps its record and position, so the
// row's record can be found again for a change or a delete.
namespace platform::ui {

class ListModel : public QAbstractTableModel
{
public:
    static constexpr int SelectedTextRole = Qt::UserRole + 1;
    static constexpr int SelectedBackRole = Qt::UserRole + 2;

    explicit ListModel(storage::View& view, QObject* parent = nullptr);

    storage::View& view() const { return *m_view; }
    void setView(storage::View& view) { m_view = &view; }

    // The layout field each column shows (-1: a column the row fill alone fills).
    void setFields(std::vector<int> fields);
    const std::vector<int>& fields() const { return m_fields; }
    void setColumns(std::vector<ListColumn> columns);
    const std::vector<ListColumn>& columns() const { return m_columns; }

    // The row fill hook runs with the row's record in the buffer after the cells were filled
    // from the fields; the page fill hook after every load.
    void setRowFill(std::function<void(ListRow&)> fill) { m_rowFill = std::move(fill); }
    void setPageFill(std::function<void()> fill) { m_pageFill = std::move(fill); }
    void setStyleFonts(std::map<int, QFont> fonts);
    void setIcons(std::vector<QIcon> icons);

    // Rows can be dragged to a control whose drop id equals this one (empty: no dragging).
    void setDragId(std::string id) { m_dragId = std::move(id); }
    const std::string& dragId() const { return m_dragId; }

    void setWholeFile(bool whole) { m_wholeFile = whole; }
    bool wholeFile() const { return m_wholeFile; }
    void setPageSize(int rows) { m_pageSize = rows < 1 ? 1 : rows; }
    int pageSize() const { return m_pageSize; }

    // Each load returns the row to highlight, -1 when the list is empty.
    int loadFirst();
    int loadLast();
    // The first passing record at or after the buffer's key values (in whole-file loading
    // without reading the file again unless reread).
    int loadFromBuffer(bool reread = true);
    // The page with the first passing record at or after the place (the buffer's key values,
    // the position), on the preferred row when records enough precede it; the page is filled
    // with the records before it when the order ends first.
    int loadAt(std::int64_t position, int preferredRow);
    // Page loading: moves the page by rows (negative: back); the rows it moved.
    int scroll(int rows);
    bool atStart() const { return m_atStart; }
    bool atEnd() const { return m_atEnd; }

    // Page loading: where the page stands in the order (0 the first page, 1 the last; an
    // estimate from the key in between that never decreases along the order) and the share of
    // the passing records it shows (estimated from the file's last position).
    double pagePlace() const;
    double pageShare() const { return m_share; }
    // The page at about that place of the order; the row to highlight.
    int loadAtPlace(double place);
    void clear();

    // A blank row at the given place while a new record is typed in place, and its removal.
    void insertBlankRow(int at);
    void removeBlankRow(int at);

    // The row's record read again from the file by its position into the buffer, as the
    // record last read (so that a put or erase applies to it); 0 or the error code (35 when
    // it is gone).
    int fetchRecord(int row);

    int rows() const { return static_cast<int>(m_rows.size()); }
    const ListRow& row(int index) const { return m_rows.at(static_cast<std::size_t>(index)); }
    // The row whose record equals the given one, -1 when none.
    int rowOfRecord(const std::vector<std::byte>& record) const;
    int rowOfPosition(std::int64_t position) const;
    // Records read from the file since the model was made (next and previous calls).
    std::int64_t recordsRead() const { return m_recordsRead; }
    // Counts the times the rows were read again (a row number may then hold another record).
    std::uint64_t rowsRead() const { return m_rowsRead; }
    // The first read since the last call that failed other than at the end of the order (a
    // damaged file, a read the disk refused): its code and the file's name; 0 when none did.
    // The rows read before it are shown.
    int takeReadFailure(std::string& file);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    bool read(bool forward);
    void noteReadFailure(int code);
    ListRow makeRow() const;
    std::vector<std::byte> buffer() const;
    void setBuffer(const std::vector<std::byte>& record);
    std::size_t page() const;
    std::vector<ListRow> readRows(bool forward, std::size_t count);
    // Up to count rows beyond the place (record's key values, position) in the direction,
    // nearest first.
    std::vector<ListRow> readBeyond(const std::vector<std::byte>& record, std::int64_t position,
                                    bool forward, std::size_t count);
    std::vector<ListRow> readFromEnd(bool forward, std::size_t count);
    void replaceRows(std::vector<ListRow> rows);
    void learnShare();
    void placeInside(); // reads the ends of the order once a page stands between them
    void readEnds();
    void finishLoad();
    QVariant colour(int value) const;

    storage::View* m_view;
    std::vector<int> m_fields;
    std::vector<ListColumn> m_columns;
    std::function<void(ListRow&)> m_rowFill;
    std::function<void()> m_pageFill;
    std::map<int, QFont> m_styleFonts;
    std::vector<QIcon> m_icons;
    std::vector<ListRow> m_rows;
    std::string m_dragId;
    bool m_wholeFile = false;
    int m_pageSize = 20;
    bool m_atStart = true;
    bool m_atEnd = true;
    KeyPlace m_place;
    bool m_endsKnown = false;
    double m_share = 1.0;
    std::int64_t m_recordsRead = 0;
    std::uint64_t m_rowsRead = 0;
    int m_readFailure = 0;
    std::string m_readFailureFile;
};

} // namespace platform::ui
