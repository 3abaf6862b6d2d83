#include "app/browsepriosn/PriceList.h"

#include "app/browsepriosn/PriceRecordFilter.h"
#include "app/browsepriosn/PriceSortOrders.h"
#include "app/browsepriosn/RowMarks.h"
#include "app/dictionary/Dictionary.h"
#include "platform/ui/Window.h"

namespace app {


namespace {

constexpr int SearchSheet = 35;
constexpr int AnaloguesButton = 9;
constexpr int OrderButton = 10;
constexpr int PhotoButton = 8;

} // namespace

PriceList::PriceList(platform::ui::Window& window, PriceWindowVariables& variables)
    : BrowseList(PRIOSN())
    , m_window(window)
    , m_variables(variables)
{
}

bool PriceList::validateRecord()
{
    return PriceRecordFilter(PR(), m_variables.fk, Selection()) == RecordFilterResult::Accepted;
}

void PriceList::setQueueRecord(platform::ui::ListRow& row)
{
    const PriosnRecord& r = PR();
    row.cells.resize(Columns);
    row.colours.resize(Columns);
    row.icons.resize(Columns, 0);
    row.cells[0] = numberCell(r.KOD, "n8");
    row.cells[1] = r.OBOZ.str();
    row.cells[2] = r.NAIM.str();
    row.cells[3] = r.PRIMEN.str();
    row.cells[4] = numberCell(r.KOLVUP, "n5");
    row.cells[5] = numberCell(r.CENA, "n10.2");
    row.cells[7] = r.PROIZV.str();
    row.cells[8] = r.GRUP.str();
    row.cells[9] = numberCell(r.VES, "n10.4");
    row.cells[11] = numberCell(r.KOD2, "n14");
    // The marks: the glyph bytes stay in the variables the filters may name; the list draws
    // them as symbols.
    const int arrow = priceChangeMark(r.KODCENA);
    m_variables.strcena = arrow == RowMark::Cheaper ? "\xE2" : arrow == RowMark::Dearer ? "\xE1" : "";
    const bool photo = photoExists(m_variables.photoFolder, r.KOD);
    m_variables.fotoex = photo ? "\xFC" : "";
    row.icons[ArrowColumn] = arrow;
    row.colours[ArrowColumn] = {priceChangeColour(r.KODCENA), -1, -1, -1};
    row.icons[PhotoColumn] = photo ? RowMark::Photo : 0;
}

void PriceList::pageFilled()
{
    if (model().rows() > 0) {
        m_window.enable(OrderButton);
        m_window.enable(AnaloguesButton);
    } else {
        m_window.disable(OrderButton);
        m_window.disable(AnaloguesButton);
    }
}

bool PriceList::highlightedHasPhoto() const
{
    const int row = highlighted();
    return row >= 0 && row < model().rows() &&
           model().row(row).icons.size() > PhotoColumn &&
           model().row(row).icons[PhotoColumn] == RowMark::Photo;
}

void PriceList::highlightChanged(int)
{
    if (highlightedHasPhoto())
        m_window.enable(PhotoButton);
    else
        m_window.disable(PhotoButton);
}

int PriceList::chooseSortOrder()
{
    return PriceSortChoice(m_window.currentTab(SearchSheet)) - 1;
}

} // namespace app
