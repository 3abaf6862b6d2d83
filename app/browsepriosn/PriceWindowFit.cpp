#include "app/browsepriosn/PriceWindowFit.h"

#include "app/browsepriosn/ExactDecimal.h"

#include <algorithm>

namespace app {
namespace {

using D = ExactDecimal;

int R(const D& value)
{
    return static_cast<int>(value.rounded());
}

int T(const D& value)
{
    return static_cast<int>(value.cut());
}

D tenths(int digits)
{
    return D::of(digits, 1);
}

D hundredths(int digits)
{
    return D::of(digits, 2);
}

constexpr int PriceList = 1;
constexpr int Heading = 3;
constexpr int Selection = 4;
constexpr int PriceMarker = 5;
constexpr int LoadDate = 6;
constexpr int Separator = 12;
constexpr int TotalsLabel = 13;
constexpr int Basket = 19;
constexpr int Delete = 20;
constexpr int ChangeQuantity = 21;
constexpr int Save = 22;
constexpr int Open = 23;
constexpr int Print = 24;
constexpr int CheckPrices = 25;
constexpr int NewOrder = 26;
constexpr int BasketPhoto = 11;
constexpr int Close = 54;
constexpr int BasketMarker = 28;
constexpr int BasketHeading = 27;
constexpr int TotalsLast = 18;
// Dialog units of the total weight's display for totals below 1,000,000 kg.
constexpr int NarrowestTotalWeight = 57;
constexpr int BasketSheet = 29;
constexpr int SearchSheet = 35;

constexpr int SearchPrompts[] = {37, 40, 43, 46, 49, 52, Selection};
constexpr int SearchEntries[] = {38, 41, 44, 47, 50, 53};
constexpr int PriceButtons[] = {7, 8, 9, 10};
constexpr int TotalsRow[] = {13, 15, 17, 14, 16, 18};
constexpr int FirstButtonRow[] = {Delete, ChangeQuantity, Save, Open};
constexpr int SecondButtonRow[] = {NewOrder, CheckPrices, Print, BasketPhoto, Close};

} // namespace

bool tooWide(const Box& window, int clientWidth)
{
    return clientWidth > 0 && window.width > clientWidth;
}

bool tooLow(const Box& window, int clientHeight)
{
    return clientHeight > 0 && window.height > clientHeight;
}

bool fitNeeded(const Box& window, int clientWidth, int clientHeight)
{
    return tooWide(window, clientWidth) || tooLow(window, clientHeight);
}

void fitToWidth(PriceWindowLayout& layout, int clientWidth)
{
    const D W = clientWidth;
    PriceWindowLayout& l = layout;
    l.window.x = 0;

    l[PriceList].x = 3;
    l[PriceList].width = clientWidth - 11;
    l[SearchSheet].x = 1;
    l[SearchSheet].width = clientWidth - 7;

    l[Heading].x = R(W * hundredths(70));
    l[Heading].y = 2;
    l[Heading].height = 9;
    l[LoadDate].x = R(W * hundredths(82));
    l[LoadDate].y = 2;
    l[LoadDate].height = 9;

    l[Separator].x = 1;
    l[Separator].width = clientWidth - 7;
    l[Basket].x = 3;
    l[Basket].width = clientWidth - 11;
    l[BasketSheet].x = 1;
    l[BasketSheet].width = clientWidth - 7;

    l[Delete].x = 1;
    l[Delete].width = T(W * tenths(2));
    l[ChangeQuantity].x = T(W * tenths(2) + 3);
    l[ChangeQuantity].width = T(W * hundredths(25));
    l[Save].x = T(W * hundredths(45) + 5);
    l[Save].width = T(W * tenths(3));
    l[Open].x = T(W * hundredths(75) + 7);
    l[Open].width = T(W * tenths(2));

    l[NewOrder].x = 1;
    l[NewOrder].width = T(W * tenths(2));
    l[CheckPrices].x = T(W * tenths(2) + 3);
    l[CheckPrices].width = T(W * tenths(2));
    l[Print].x = T(W * tenths(4) + 5);
    l[Print].width = T(W * tenths(2));
    l[Close].x = T(W * hundredths(75) + 7);
    l[Close].width = T(W * tenths(2));
    // The basket's photo button fills the gap between printing and closing.
    l[BasketPhoto].x = l[Print].x + l[Print].width + 1;
    l[BasketPhoto].width = l[Close].x - l[Print].x - l[Print].width - 2;

    l[PriceMarker].x = 0;
    l.window.width = clientWidth - 3;

    // Mended: "Новый заказ" was placed at the start of the second row but left in the first,
    // over "Удалить"; it joins the second row.
    l[NewOrder].y = l[CheckPrices].y;
    // Mended: the load date and the basket's heading would reach past the window's right edge;
    // they end where the sheets end, the heading not before the totals row.
    const int right = clientWidth - 6;
    l[LoadDate].width = std::max(0, std::min(l[LoadDate].width, right - l[LoadDate].x));
    Box& heading = l[BasketHeading];
    Box& lastTotal = l[TotalsLast];
    // The total weight is wide enough for a million kilograms; where the heading lacks the room
    // it gives that width back, down to what a total below a million needs.
    const int wholeHeading = right - heading.width;
    if (lastTotal.x + lastTotal.width > wholeHeading)
        lastTotal.width = std::max(std::min(lastTotal.width, NarrowestTotalWeight),
                                   wholeHeading - lastTotal.x);
    heading.x = std::max(lastTotal.x + lastTotal.width, wholeHeading);
    heading.width = std::max(0, std::min(heading.width, right - heading.x));
}

void fitToHeight(PriceWindowLayout& layout, int clientHeight)
{
    const D H = clientHeight;
    const D half = H / 2;
    PriceWindowLayout& l = layout;
    const int S = R(half * hundredths(75) * hundredths(25)); // the search band
    const int U = R(half * hundredths(75));                  // the upper half
    const D s = S;

    l.window.y = 0;
    // "Новый заказ" stays in the row it is in: the first as designed, the second after a fit
    // to the width.
    const bool newOrderInFirstRow = l[NewOrder].y == l[Delete].y;

    l[PriceList].y = S + 1;
    l[PriceList].height = R(half * hundredths(75) * hundredths(73));
    l[SearchSheet].y = 1;
    l[SearchSheet].height = U;

    for (int control : SearchPrompts) {
        l[control].y = T(s / 2 + 2);
        l[control].height = T(s - s / 2 - 2);
    }
    for (int control : SearchEntries) {
        l[control].y = T(s / 2 + 2);
        l[control].height = T(s - s / 2 - 4);
    }

    for (int control : PriceButtons) {
        l[control].y = U + 2;
        l[control].height = R(D(l[control].height) * tenths(8));
    }

    l[Separator].y = l[10].y + l[10].height + 2;
    for (int control : TotalsRow) {
        l[control].y = l[Separator].y + 2;
        l[control].height = R(D(l[control].height) * tenths(8));
    }

    const Box& totals = l[TotalsLabel];
    l[BasketSheet].y = totals.y + totals.height;
    l[BasketSheet].height = R(D(clientHeight - totals.y - totals.height) * tenths(7));

    const Box& sheet = l[BasketSheet];
    l[Basket].y = R(half + half * hundredths(75) * hundredths(5));
    l[Basket].height = sheet.y + sheet.height - l[Basket].y - 2;

    for (int control : FirstButtonRow) {
        l[control].y = sheet.y + sheet.height + 1;
        l[control].height = R(D(clientHeight - sheet.y - sheet.height - 1) * hundredths(25) - 1);
    }
    for (int control : SecondButtonRow) {
        l[control].y = l[Open].y + l[Open].height + 1;
        l[control].height = l[Open].height;
    }
    if (newOrderInFirstRow)
        l[NewOrder].y = l[Open].y;
    // Mended: the basket's heading stays on the line of the totals row it belongs to.
    l[BasketHeading].y = l[TotalsLabel].y;

    l[PriceMarker].y = l[PriceList].y;
    l[PriceMarker].height = l[PriceList].height;
    l[BasketMarker].y = l[Basket].y;
    l[BasketMarker].height = l[Basket].height;

    l.window.height = clientHeight - 20;
}

} // namespace app
