#include "app/ordertext/BasketOrder.h"

#include "app/dictionary/Dictionary.h"

namespace app {

int setBasketOrder(int basketSortTab)
{
    switch (basketSortTab) {
    case 2:
        return KORZAK().setKey(K_pokod);
    case 3:
        return KORZAK().setKey(K_pooboz);
    case 4:
        return KORZAK().setKey(K_ponaim);
    case 5:
        return KORZAK().setKey(K_poproizv);
    default:
        return KORZAK().setFileOrder();
    }
}

} // namespace app
