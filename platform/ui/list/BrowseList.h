#pragma once

#include "platform/ui/list/ListModel.h"
#include "platform/ui/list/SortOrder.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform::storage {
class Bindings;
class ErrorReporter;
class RecordFile;
class View;
} // namespace platform::storage

// The framework's browse object: a list over a view of one record file with its sort orders,
// locators and highlight, and the hooks a window procedure overrides. It knows no widgets:
// ListControl shows it and passes the user's keys and clicks to it.
namespace platform::ui {

class BrowseList
{
public:
    explicit BrowseList(storage::RecordFile& file);
    virtual ~BrowseList();
    BrowseList(const BrowseList&) = delete;
    BrowseList& operator=(const BrowseList&) = delete;

    storage::RecordFile& file() const { return m_file; }
    storage::View& view() const { return *m_view; }
    ListModel& model() const { return *m_model; }

    // Set-up. The first sort order added is the current one.
    SortOrder& addSortOrder(int key, std::string filter = {});
    SortOrder& sortOrder(int index) { return *m_orders.at(static_cast<std::size_t>(index)); }
    int sortOrders() const { return static_cast<int>(m_orders.size()); }
    int currentSortOrder() const { return m_current; }
    // The layout field each column shows, in column order.
    void addField(int field);
    void setBindings(const storage::Bindings* bindings) { m_bindings = bindings; }
    void setErrorReporter(storage::ErrorReporter* reporter) { m_reporter = reporter; }
    storage::ErrorReporter* errorReporter() const { return m_reporter; }
    void setWholeFile(bool whole) { m_model->setWholeFile(whole); }
    void setPageSize(int rows) { m_model->setPageSize(rows); }

    // Hooks.
    virtual bool validateRecord() { return true; }  // the record in the buffer is listed
    virtual void setQueueRecord(ListRow&) {}         // a row is filled (cells, colours, icons)
    virtual void pageFilled() {}                     // a page has been loaded
    // The highlight moved, or the rows were read again (another record may stand on its row);
    // the first load reports too, -1 for an empty list.
    virtual void highlightChanged(int /*row*/) {}
    virtual int chooseSortOrder() { return m_current; } // before every load
    virtual void reloaded() {}                       // the list was read again

    // Loads from the top of the current order (the sort-order choice is asked first).
    void load();
    // Reads the list again when the sort order chosen, a reset field or force says so, keeping
    // the highlighted record (on its row where it can) when it is still listed, otherwise the
    // one that now stands at its place.
    void reset(bool force);
    // The highlighted row's record into the buffer (as the record last read); the error code.
    // A failure other than the record being gone is reported.
    int fetchHighlighted();
    // The list moved to the record in the buffer (the record last read or written), which
    // becomes the highlighted row; the page keeps the highlight's row where it can.
    void resetToBuffer();

    // Whether the list's last reads met a failure it has reported.
    bool readFailing() const { return m_failing; }

    int highlighted() const { return m_highlight; }
    void setHighlighted(int row);
    void home();
    void end();
    void lineUp();
    void lineDown();
    void pageUp();
    void pageDown();
    // Page loading: the page at about this place of the order (0 first, 1 last), as the
    // scroll bar's thumb is dragged there.
    void moveToPlace(double place);

    // The locator of the current order; true when the list moved.
    bool takeCharacter(char typed);
    bool takeBackspace();
    Locator* locator() const;

    // The control showing the list hears of every highlight change here.
    void setHighlightListener(std::function<void(int)> listener)
    {
        m_listener = std::move(listener);
    }

private:
    std::int64_t bufferPosition() const;
    // The orders' search copies are made beforehand, the current order's first, so that a
    // person's first search in any order does not wait for its copy.
    void prepareSearchCopies();
    void applySortOrder(int index);
    void locate();
    void highlight(int row, bool resetLocator);
    // A read that failed while the list was read (a damaged file, a disk error) is reported,
    // once while the failures go on: the list is never shown short without a word.
    void reportReadFailure();

    storage::RecordFile& m_file;
    std::unique_ptr<storage::View> m_view;
    std::unique_ptr<ListModel> m_model;
    std::vector<std::unique_ptr<SortOrder>> m_orders;
    std::vector<int> m_fields;
    const storage::Bindings* m_bindings = nullptr;
    storage::ErrorReporter* m_reporter = nullptr;
    std::function<void(int)> m_listener;
    int m_current = 0;
    int m_applied = -1;
    int m_highlight = -1;
    // The model's rowsRead() when the highlight was last reported; none yet at first.
    std::uint64_t m_reportedRows = UINT64_MAX;
    std::int64_t m_readsSeen = 0;
    bool m_failing = false;
};

} // namespace platform::ui
