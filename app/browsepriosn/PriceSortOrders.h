#pragma once

#include <array>
#include <string_view>

// The six sort orders of the price list, in the order they are added, with the search tab
// that selects each and the filter text evaluated per record.
namespace app {

struct PriceSortOrder
{
    int key;                   // PriosnKey
    int tab;                   // position on the search sheet
    std::string_view variable; // the search variable, a reset field of the order
    std::string_view filter;
    // The filter's substring search, so that the list can search an in-memory copy: while
    // searchCondition holds, a record passes exactly when `searched` contains `sought`.
    std::string_view searched;
    std::string_view sought;
    std::string_view searchCondition;
};

const std::array<PriceSortOrder, 6>& priceSortOrders();

// The order (1-based) for the current search tab: tab 2..6 give 1..5, any other tab 6.
int PriceSortChoice(int tab);

struct BasketSortOrder
{
    int key; // KorzakKey, or -1 for file order
    int tab; // position on the basket's sort sheet
};

const std::array<BasketSortOrder, 5>& basketSortOrders();

// The order (1-based) for the basket's sort tab: tab 2..5 give 1..4, any other tab 5.
int BasketSortChoice(int tab);

} // namespace app
