#include "platform/ui/list/BrowseList.h"

#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/storage/RecordFile.h"
#include "platform/storage/View.h"

#include <algorithm>
#include <cstring>

namespace platform::ui {

BrowseList::BrowseList(storage::RecordFile& file)
    : m_file(file), m_view(std::make_unique<storage::View>(file)),
      m_model(std::make_unique<ListModel>(*m_view))
{
    m_view->setPredicate([this] { return validateRecord(); });
    m_model->setRowFill([this](ListRow& row) { setQueueRecord(row); });
    m_model->setPageFill([this] { pageFilled(); });
}

BrowseList::~BrowseList() = default;

SortOrder& BrowseList::addSortOrder(int key, std::string filter)
{
    m_orders.push_back(std::make_unique<SortOrder>(key, std::move(filter)));
    return *m_orders.back();
}

void BrowseList::addField(int field)
{
    m_fields.push_back(field);
    m_model->setFields(m_fields);
}

void BrowseList::applySortOrder(int index)
{
    if (m_orders.empty()) {
        m_applied = -1;
        return;
    }
    index = std::clamp(index, 0, sortOrders() - 1);
    SortOrder& order = *m_orders[static_cast<std::size_t>(index)];
    m_view->setKey(order.key());
    m_view->setFilter(order.filter(), m_bindings);
    m_view->setContainsSearch(order.containsSearch(m_file, m_bindings));
    order.resetFieldsChanged(); // remembered as read
    m_current = index;
    m_applied = index;
}

void BrowseList::load()
{
    applySortOrder(chooseSortOrder());
    highlight(m_model->loadFirst(), true);
    reloaded();
    prepareSearchCopies();
}

void BrowseList::prepareSearchCopies()
{
    if (m_current >= 0 && m_current < sortOrders())
        sortOrder(m_current).prepareSearchCopy(m_file, m_bindings);
    for (int order = 0; order < sortOrders(); ++order)
        if (order != m_current)
            sortOrder(order).prepareSearchCopy(m_file, m_bindings);
}

void BrowseList::reset(bool force)
{
    const int chosen = chooseSortOrder();
    bool changed = force || chosen != m_applied;
    if (chosen >= 0 && chosen < sortOrders() && sortOrder(chosen).resetFieldsChanged())
        changed = true;
    if (!changed)
        return;
    const bool hadRow = m_highlight >= 0 && m_highlight < m_model->rows();
    ListRow kept;
    if (hadRow)
        kept = m_model->row(m_highlight);
    applySortOrder(chosen);
    if (hadRow) {
        // The highlighted record keeps its row on the page where it can.
        std::memcpy(m_file.buffer(), kept.record.data(), kept.record.size());
        highlight(kept.position > 0 ? m_model->loadAt(kept.position, m_highlight)
                                    : m_model->loadFromBuffer(true),
                  true);
    } else {
        highlight(m_model->loadFirst(), true);
    }
    reloaded();
    // After a change to the file (a load) the copies are made again at once.
    prepareSearchCopies();
}

int BrowseList::fetchHighlighted()
{
    const int code = m_model->fetchRecord(m_highlight);
    if (code != 0 && code != storage::Error::RecordNotFound && m_reporter)
        m_reporter->reportFileError(code, storage::errorFile(), "Get");
    return code;
}

void BrowseList::resetToBuffer()
{
    if (m_applied < 0)
        applySortOrder(chooseSortOrder());
    const int row = std::max(m_highlight, 0);
    const std::int64_t position = bufferPosition();
    highlight(position > 0 ? m_model->loadAt(position, row) : m_model->loadFromBuffer(true), true);
    reloaded();
}

std::int64_t BrowseList::bufferPosition() const
{
    // When the buffer still holds the record last read or written, its position makes the
    // place exact among equal key values (and is the place itself in file order); values the
    // caller put into the buffer are looked up by value.
    const std::int64_t position = m_file.position();
    if (position <= 0)
        return 0;
    const std::size_t size = m_file.layout().recordSize;
    std::vector<std::byte> stored(size);
    if (m_file.peekAt(position, stored.data()) != 0)
        return 0;
    return std::memcmp(stored.data(), m_file.buffer(), size) == 0 ? position : 0;
}

void BrowseList::setHighlighted(int row)
{
    if (m_model->rows() == 0) {
        highlight(-1, true);
        return;
    }
    highlight(std::clamp(row, 0, m_model->rows() - 1), true);
}

void BrowseList::reportReadFailure()
{
    std::string file;
    const int code = m_model->takeReadFailure(file);
    const bool read = m_model->recordsRead() != m_readsSeen;
    m_readsSeen = m_model->recordsRead();
    if (code == 0) {
        if (read)
            m_failing = false;
        return;
    }
    if (m_failing)
        return;
    m_failing = true;
    if (m_reporter)
        m_reporter->reportFileError(code, file, "Next");
}

void BrowseList::highlight(int row, bool resetLocator)
{
    reportReadFailure();
    if (resetLocator && locator())
        locator()->reset();
    // A reload may put another record on the same row, or leave the list empty at its first
    // load: the hook hears of it as of a move.
    const bool moved = row != m_highlight || m_model->rowsRead() != m_reportedRows;
    m_highlight = row;
    m_reportedRows = m_model->rowsRead();
    if (m_listener)
        m_listener(row);
    if (moved)
        highlightChanged(row);
}

void BrowseList::home()
{
    if (m_model->wholeFile() || m_model->atStart()) {
        setHighlighted(0);
        return;
    }
    highlight(m_model->loadFirst(), true);
}

void BrowseList::end()
{
    if (m_model->wholeFile() || m_model->atEnd()) {
        setHighlighted(m_model->rows() - 1);
        return;
    }
    highlight(m_model->loadLast(), true);
}

void BrowseList::lineUp()
{
    if (m_highlight > 0) {
        setHighlighted(m_highlight - 1);
        return;
    }
    if (m_model->scroll(-1) > 0)
        highlight(0, true);
}

void BrowseList::lineDown()
{
    if (m_highlight < m_model->rows() - 1) {
        setHighlighted(m_highlight + 1);
        return;
    }
    if (m_model->scroll(1) > 0)
        highlight(m_model->rows() - 1, true);
}

void BrowseList::pageUp()
{
    const int page = m_model->pageSize();
    if (!m_model->wholeFile() && m_model->scroll(-page) > 0) {
        highlight(std::min(m_highlight, m_model->rows() - 1), true);
        return;
    }
    setHighlighted(m_model->wholeFile() ? m_highlight - page : 0);
}

void BrowseList::pageDown()
{
    const int page = m_model->pageSize();
    if (!m_model->wholeFile() && m_model->scroll(page) > 0) {
        highlight(std::min(m_highlight, m_model->rows() - 1), true);
        return;
    }
    setHighlighted(m_model->wholeFile() ? m_highlight + page : m_model->rows() - 1);
}

void BrowseList::moveToPlace(double place)
{
    if (m_model->wholeFile())
        return;
    highlight(m_model->loadAtPlace(place), true);
}

Locator* BrowseList::locator() const
{
    if (m_current < 0 || m_current >= sortOrders())
        return nullptr;
    return m_orders[static_cast<std::size_t>(m_current)]->locator();
}

void BrowseList::locate()
{
    Locator* current = locator();
    current->applyTo(m_file);
    highlight(m_model->loadFromBuffer(false), false);
}

bool BrowseList::takeCharacter(char typed)
{
    Locator* current = locator();
    if (!current || !current->takeCharacter(typed))
        return false;
    locate();
    return true;
}

bool BrowseList::takeBackspace()
{
    Locator* current = locator();
    if (!current || !current->takeBackspace())
        return false;
    locate();
    return true;
}

} // namespace platform::ui
