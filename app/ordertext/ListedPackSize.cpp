#include "app/ordertext/ListedPackSize.h"

#include "app/dictionary/Dictionary.h"
#include "app/dictionary/Layouts.h"

namespace app {

int32_t listedPackSize(int32_t code)
{
    const PriosnRecord kept = PR();
    PR().KOD = code;
    PRIOSN().setKeyFromBuffer(PR_pokod);
    const bool listed = PRIOSN().next() == 0 && PR().KOD == code;
    const int32_t size = listed ? PR().KOLVUP : 0;
    PR() = kept;
    return size;
}

} // namespace app
