#pragma once

#include "app/browsepriosn/PriceWindowVariables.h"
#include "platform/ui/list/BrowseList.h"

namespace platform::ui {
class Window;
}

// The upper list of the price-list window: PRIOSN in the order of the current search tab,
// through the tab's filter and the selection, with the price-change and photo marks.
namespace app {

class PriceList : public platform::ui::BrowseList
{
public:
    PriceList(platform::ui::Window& window, PriceWindowVariables& variables);

    bool validateRecord() override;
    void setQueueRecord(platform::ui::ListRow& row) override;
    void pageFilled() override;
    void highlightChanged(int row) override;
    int chooseSortOrder() override;

    // Whether the highlighted row shows the photo mark.
    bool highlightedHasPhoto() const;

    static constexpr int Columns = 12;
    static constexpr int ArrowColumn = 6;
    static constexpr int PhotoColumn = 10;

private:
    platform::ui::Window& m_window;
    PriceWindowVariables& m_variables;
};

} // namespace app
