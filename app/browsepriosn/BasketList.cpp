#include "app/browsepriosn/BasketList.h"

#include "app/browsepriosn/BasketOperations.h"
#include "app/browsepriosn/PriceSortOrders.h"
#include "app/browsepriosn/RowMarks.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/ui/ProgramCursor.h"
#include "platform/ui/Window.h"

#include <utility>

namespace app {


namespace {

constexpr int SortSheet = 29;
constexpr int PhotoButton = 11;
constexpr int DefaultWeightColour = 0x400040;
constexpr int MissingItemColour = 0xFF;
// "Удалить", "Изменить кол-во", "Сохранить/Выгрузить заказ", "Печатать", "Проверить цены",
// "Новый заказ": they act on lines, so an empty basket disables them.
constexpr int LineButtons[] = {20, 21, 22, 24, 25, 26};

} // namespace

BasketList::BasketList(platform::ui::Window& window, PriceWindowVariables& variables)
    : BrowseList(KORZAK())
    , m_window(window)
    , m_variables(variables)
{
}

void BasketList::setQueueRecord(platform::ui::ListRow& row)
{
    const KorzakRecord line = K();
    m_variables.ve = lineWeight(line);
    const bool photo = photoExists(m_variables.photoFolder, line.KOD);
    m_variables.fotoex1 = photo ? "\xFC" : "";
    row.cells.resize(Columns);
    row.colours.resize(Columns);
    row.icons.resize(Columns, 0);
    row.cells[0] = numberCell(line.KOD, "n10");
    row.cells[1] = line.OBOZ.str();
    row.cells[2] = line.NAIM.str();
    row.cells[3] = line.PROIZV.str();
    row.cells[4] = numberCell(line.KOL, "n8");
    row.cells[5] = numberCell(line.CENA, "n11.2");
    row.cells[6] = numberCell(line.SUMMA, "n12.2");
    row.cells[7] = numberCell(m_variables.ve, "n10.4");
    row.colours[WeightColumn] = {m_variables.ve == 0.0 ? MissingItemColour : DefaultWeightColour,
                                 -1, -1, -1};
    row.icons[PhotoColumn] = photo ? RowMark::Photo : 0;
}

void BasketList::pageFilled()
{
    const bool lines = model().rows() > 0;
    for (int control : LineButtons) {
        if (lines)
            m_window.enable(control);
        else
            m_window.disable(control);
    }
}

bool BasketList::highlightedHasPhoto() const
{
    const int row = highlighted();
    return row >= 0 && row < model().rows() && model().row(row).icons.size() > PhotoColumn &&
           model().row(row).icons[PhotoColumn] == RowMark::Photo;
}

void BasketList::highlightChanged(int)
{
    if (highlightedHasPhoto())
        m_window.enable(PhotoButton);
    else
        m_window.disable(PhotoButton);
}

int BasketList::chooseSortOrder()
{
    return BasketSortChoice(m_window.currentTab(SortSheet)) - 1;
}

void BasketList::reloaded()
{
    // The walk reads every line and its item: keep the buffers the window works with.
    const KorzakRecord line = K();
    const PriosnRecord item = PR();
    platform::ui::setProgramCursor("wait");
    KORZAK().send("QUICKSCAN=on");
    OrderTotals totals;
    const bool summed = basketTotals(totals);
    const bool failingBefore = std::exchange(m_totalsFailing, !summed); // before the box below
    if (summed) {
        m_variables.lineCount = totals.lines;
        m_variables.TotalQuantity = totals.quantity;
        m_variables.TotalSum = totals.sum;
        m_variables.TotalWeight = totals.weight;
    } else if (const int code = platform::storage::errorCode();
               code != platform::storage::Error::FileNotOpen && !failingBefore && !readFailing() &&
               errorReporter()) {
        // The walk over every line met what the page did not (a damaged page further on):
        // said once, as the list says its own. A basket that did not open was said then.
        errorReporter()->reportFileError(code, platform::storage::errorFile(), "Next");
    }
    KORZAK().send("QUICKSCAN=off");
    platform::ui::setProgramCursor("");
    K() = line;
    PR() = item;
}

} // namespace app
