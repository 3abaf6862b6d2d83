#include "app/browsepriosn/PriceSortOrders.h"

#include "app/dictionary/Layouts.h"

namespace app {

namespace {

// The text filters share one shape; only the variable and the field differ.
#define QUELB_TEXT_SEARCH(variable, field)                                                        \
    "(((" variable "='' or (" variable "<>'' and instring(upper(clip(" variable                   \
    ")),upper(" field "),1)>0)) and fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or " \
    "k2=pr:kod2)))"

// Normal mode with a search text: the filter above is then just its instring test.
#define QUELB_TEXT_NARROWING(variable, field) \
    "upper(" field ")", "upper(clip(" variable "))", "fk=0 and " variable "<>''"

} // namespace

const std::array<PriceSortOrder, 6>& priceSortOrders()
{
    static const std::array<PriceSortOrder, 6> orders{{
        {PR_pooboz, 2, "kodstr2", QUELB_TEXT_SEARCH("kodstr2", "pr:oboz"),
         QUELB_TEXT_NARROWING("kodstr2", "pr:oboz")},
        {PR_ponaim, 3, "kodstr3", QUELB_TEXT_SEARCH("kodstr3", "pr:naim"),
         QUELB_TEXT_NARROWING("kodstr3", "pr:naim")},
        {PR_poprimen, 4, "kodstr4", QUELB_TEXT_SEARCH("kodstr4", "pr:primen"),
         QUELB_TEXT_NARROWING("kodstr4", "pr:primen")},
        {PR_poproizv, 5, "kodstr5", QUELB_TEXT_SEARCH("kodstr5", "pr:proizv"),
         QUELB_TEXT_NARROWING("kodstr5", "pr:proizv")},
        {PR_pogrup, 6, "kodstr6", QUELB_TEXT_SEARCH("kodstr6", "pr:grup"),
         QUELB_TEXT_NARROWING("kodstr6", "pr:grup")},
        {PR_pokod, 1, "ks",
         "(((ks=0 or (ks<>0 and instring(upper(clip(format(ks,@s8))),upper(format(pr:kod,@s8)),1)>"
         "0)) and fk=0) or (fk=1 and (k1=pr:kod or k1=pr:kod2 or k2=pr:kod or k2=pr:kod2)))",
         "upper(format(pr:kod,@s8))", "upper(clip(format(ks,@s8)))", "fk=0 and ks<>0"},
    }};
    return orders;
}

#undef QUELB_TEXT_SEARCH
#undef QUELB_TEXT_NARROWING

int PriceSortChoice(int tab)
{
    return tab >= 2 && tab <= 6 ? tab - 1 : 6;
}

const std::array<BasketSortOrder, 5>& basketSortOrders()
{
    static const std::array<BasketSortOrder, 5> orders{{
        {K_pokod, 2},
        {K_pooboz, 3},
        {K_ponaim, 4},
        {K_poproizv, 5},
        {-1, 1},
    }};
    return orders;
}

int BasketSortChoice(int tab)
{
    return tab >= 2 && tab <= 5 ? tab - 1 : 5;
}

} // namespace app
