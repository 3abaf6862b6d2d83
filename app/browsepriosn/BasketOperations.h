#pragma once

#include "app/dictionary/Records.h"

#include <cstdint>
#include <string>
#include <string_view>

// The basket operations over KORZAK (and PRIOSN for prices and weights), in the calling
// thread's record buffers. Both files are open. Every operation keeps K:SUMMA equal to
// K:KOL x K:CENA rounded half up to 2 places.
namespace app {

enum class BasketResult {
    Done,
    Unchanged,        // a quantity below 1: nothing to do
    QuantityTooLarge, // the line would hold more than K:KOL can: refused, nothing written
    WriteFailed       // the basket file refused the write; its code and file are in the
                      // thread's error state, and the basket is as it was before
};

// The most one basket line can hold (K:KOL is 16 bits).
inline constexpr int32_t MaxLineQuantity = 32767;

// The text shown when an order or a change is refused for its size (UTF-8).
const char* quantityTooLargeMessage();

// The text shown when the basket file refused a write (Windows-1251): the reason of the code
// and the file, and that the basket is shown as it is stored.
std::string basketWriteFailedMessage(int code, std::string_view file);

// The line sum of a quantity at a price.
double lineSum(int32_t quantity, double price);

// Orders q of the item: adds to its line, repriced at the item's current price, or adds a new
// line. On Done the line is in the KORZAK buffer.
BasketResult orderItem(const PriosnRecord& item, int32_t quantity);

// Sets the quantity of the line with this code, keeping its own price. On Done the line is in
// the KORZAK buffer.
BasketResult changeQuantity(int32_t code, int32_t quantity);

// Deletes the line with this code; then the line to highlight is read into the buffer: the one
// whose code is one less, otherwise the one that followed in code order. highlighted is that
// line's code, or 0 when no line is at or after it.
BasketResult deleteLine(int32_t code, int32_t& highlighted);

// Every line removed; 0 or the storage code (the error state names the file).
int emptyBasket();

// Brings every line whose item is in the price list at another price to the current price.
// Lines whose item has left the price list keep theirs. The walk stops at the first write the
// file refuses (WriteFailed; the lines repriced before it stay repriced). repriced counts the
// lines rewritten.
BasketResult checkPrices(int* repriced = nullptr);

// The line's weight: quantity x the item's weight to 4 places; 0 when the item is not in the
// price list. Reads PRIOSN into its buffer.
double lineWeight(const KorzakRecord& line);

// The pack size of an item as the price list gives it; 0 when the item is not listed (or the
// list is not open). Order files carry no pack size, so the lines read from them take it from
// here. The price list's record buffer is left as it was.
int32_t listedPackSize(int32_t code);

struct OrderTotals
{
    int32_t lines = 0;
    int32_t quantity = 0;
    double sum = 0.0;
    double weight = 0.0;
};

// Walks every line. False when the walk failed part way (the caller keeps its old totals).
bool basketTotals(OrderTotals& totals);

} // namespace app
