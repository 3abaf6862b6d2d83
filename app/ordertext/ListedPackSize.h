#pragma once

#include <cstdint>

namespace app {

// The pack size of an item as the price list gives it; 0 when the item is not listed (or the
// list is not open). Order files carry no pack size, so the lines read from them take it from
// here. The price list's record buffer is left as it was.
int32_t listedPackSize(int32_t code);

} // namespace app
