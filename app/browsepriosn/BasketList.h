#pragma once

#include "app/browsepriosn/PriceWindowVariables.h"
#include "platform/ui/list/BrowseList.h"

namespace platform::ui {
class Window;
}

// The lower list of the price-list window: the basket (KORZAK) in the order of its sort tab,
// with each line's weight (red when the item left the price list) and photo mark; every
// reload recomputes the totals.
namespace app {

class BasketList : public platform::ui::BrowseList
{
public:
    BasketList(platform::ui::Window& window, PriceWindowVariables& variables);

    void setQueueRecord(platform::ui::ListRow& row) override;
    void pageFilled() override;
    void highlightChanged(int row) override;
    int chooseSortOrder() override;
    void reloaded() override;

    bool highlightedHasPhoto() const;

    static constexpr int Columns = 9;
    static constexpr int WeightColumn = 7;
    static constexpr int PhotoColumn = 8;

private:
    platform::ui::Window& m_window;
    PriceWindowVariables& m_variables;
    bool m_totalsFailing = false;
};

} // namespace app
