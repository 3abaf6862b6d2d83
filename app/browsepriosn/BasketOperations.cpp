#include "app/browsepriosn/BasketOperations.h"

#include "app/browsepriosn/RealArithmetic.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"

#include <cmath>

namespace app {

namespace {

// Positions on the key and reads the first line at or after the code; true when that line has
// exactly this code.
bool findLine(int32_t code)
{
    K().KOD = code;
    KORZAK().setKeyFromBuffer(K_pokod);
    return KORZAK().next() == 0 && K().KOD == code;
}

bool findItem(int32_t code)
{
    PR().KOD = code;
    PRIOSN().setKeyFromBuffer(PR_pokod);
    return PRIOSN().next() == 0 && PR().KOD == code;
}

void copyItem(const PriosnRecord& item, KorzakRecord& line)
{
    line.OBOZ = item.OBOZ;
    line.NAIM = item.NAIM;
    line.CENA = item.CENA;
    line.PROIZV = item.PROIZV;
    line.UPAK = item.KOLVUP;
}

} // namespace

const char* quantityTooLargeMessage()
{
    return "Количество в одной позиции заказа не может быть больше 32767. Заказ не изменён.";
}

std::string basketWriteFailedMessage(int code, std::string_view file)
{
    using platform::text::w;
    return w("Заказ не изменён: не удалось записать корзину ") + std::string(file) + ": " +
           platform::storage::errorTextOf(code) + " (" + std::to_string(code) + ").\n" +
           w("Корзина показана такой, какой она записана.");
}

double lineSum(int32_t quantity, double price)
{
    return roundHalfUp(static_cast<double>(quantity) * price, 2);
}

BasketResult orderItem(const PriosnRecord& item, int32_t quantity)
{
    if (quantity < 1)
        return BasketResult::Unchanged;
    const PriosnRecord ordered = item; // the lookups below may reuse the caller's buffer
    if (findLine(ordered.KOD)) {
        const int64_t total = int64_t{K().KOL} + quantity;
        if (total > MaxLineQuantity)
            return BasketResult::QuantityTooLarge;
        copyItem(ordered, K());
        K().KOL = static_cast<int16_t>(total);
        K().SUMMA = lineSum(K().KOL, K().CENA);
        if (KORZAK().put() != 0)
            return BasketResult::WriteFailed;
    } else {
        if (quantity > MaxLineQuantity)
            return BasketResult::QuantityTooLarge;
        KORZAK().clearBuffer();
        K().KOD = ordered.KOD;
        copyItem(ordered, K());
        K().KOL = static_cast<int16_t>(quantity);
        K().SUMMA = lineSum(K().KOL, K().CENA);
        if (KORZAK().add() != 0)
            return BasketResult::WriteFailed;
    }
    findLine(ordered.KOD);
    return BasketResult::Done;
}

BasketResult changeQuantity(int32_t code, int32_t quantity)
{
    if (quantity < 1)
        return BasketResult::Unchanged;
    if (quantity > MaxLineQuantity)
        return BasketResult::QuantityTooLarge;
    if (!findLine(code))
        return BasketResult::Unchanged;
    K().KOL = static_cast<int16_t>(quantity);
    K().SUMMA = lineSum(K().KOL, K().CENA);
    if (KORZAK().put() != 0)
        return BasketResult::WriteFailed;
    return BasketResult::Done;
}

BasketResult deleteLine(int32_t code, int32_t& highlighted)
{
    highlighted = code;
    if (findLine(code) && KORZAK().erase() != 0)
        return BasketResult::WriteFailed;
    K().KOD = code - 1;
    KORZAK().setKeyFromBuffer(K_pokod);
    highlighted = KORZAK().next() == 0 ? K().KOD : 0;
    return BasketResult::Done;
}

int emptyBasket()
{
    return KORZAK().empty();
}

BasketResult checkPrices(int* repriced)
{
    int rewritten = 0;
    if (repriced)
        *repriced = 0;
    KORZAK().setFileOrder();
    while (KORZAK().next() == 0) {
        if (!findItem(K().KOD))
            continue;
        if (realEqual(K().CENA, PR().CENA))
            continue;
        K().CENA = PR().CENA;
        K().SUMMA = lineSum(K().KOL, K().CENA);
        if (KORZAK().put() != 0)
            return BasketResult::WriteFailed;
        ++rewritten;
        if (repriced)
            *repriced = rewritten;
    }
    return BasketResult::Done;
}

double lineWeight(const KorzakRecord& line)
{
    const int16_t quantity = line.KOL;
    if (!findItem(line.KOD))
        return 0.0;
    return roundHalfUp(quantity * PR().VES, 4);
}

int32_t listedPackSize(int32_t code)
{
    const PriosnRecord kept = PR();
    const int32_t size = findItem(code) ? PR().KOLVUP : 0;
    PR() = kept;
    return size;
}

bool basketTotals(OrderTotals& totals)
{
    OrderTotals walked;
    double quantity = 0.0;
    KORZAK().setFileOrder();
    int code = 0;
    while ((code = KORZAK().next()) == 0) {
        const KorzakRecord line = K();
        walked.weight += lineWeight(line);
        walked.lines += 1;
        quantity += line.KOL;
        walked.sum += line.SUMMA;
    }
    if (code != platform::storage::Error::RecordNotAvailable)
        return false;
    walked.quantity = static_cast<int32_t>(std::trunc(quantity));
    totals = walked;
    return true;
}

} // namespace app
