#include "app/vybproc/MarkList.h"

#include "platform/ui/list/ListRow.h"

namespace app {

using platform::ui::ListRow;

MarkList::MarkList(platform::storage::RecordFile& file, std::size_t markOffset)
    : BrowseList(file), m_markOffset(markOffset)
{
}

bool MarkList::isMarked(const ListRow& row) const
{
    // Only the value 1 counts as marked; any other byte is an empty box.
    return m_markOffset < row.record.size() && row.record[m_markOffset] == std::byte{1};
}

void MarkList::setQueueRecord(ListRow& row)
{
    if (row.icons.empty())
        row.icons.resize(1, 0);
    row.icons[0] = isMarked(row) ? 2 : 1;
}

void MarkList::reloaded()
{
    // The list holds every record that passes its filter (whole-file loading), so its rows are
    // the records to count.
    int32_t marked = 0;
    const platform::ui::ListModel& rows = model();
    for (int r = 0; r < rows.rows(); ++r)
        if (isMarked(rows.row(r)))
            ++marked;
    m_marked = marked;
    if (m_countListener)
        m_countListener(m_marked);
}

} // namespace app
