#pragma once

#include "platform/ui/list/BrowseList.h"

#include <cstddef>
#include <cstdint>
#include <functional>

// A browse list over a reference file whose records carry a mark byte: each row shows the
// ticked box (icon 2) when the mark is 1 and the empty box (icon 1) otherwise, and every re-read
// counts the marked rows listed.
namespace app {

class MarkList : public platform::ui::BrowseList
{
public:
    MarkList(platform::storage::RecordFile& file, std::size_t markOffset);

    int32_t markedCount() const { return m_marked; }
    // Told the count after every re-read.
    void setCountListener(std::function<void(int32_t)> listener)
    {
        m_countListener = std::move(listener);
    }

    void setQueueRecord(platform::ui::ListRow& row) override;
    void reloaded() override;

private:
    bool isMarked(const platform::ui::ListRow& row) const;

    std::size_t m_markOffset;
    int32_t m_marked = 0;
    std::function<void(int32_t)> m_countListener;
};

} // namespace app
