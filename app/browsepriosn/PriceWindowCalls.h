#pragma once

#include "app/fotovyv/Fotovyv.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The windows the price-list window calls on its own thread, in one table so that a window
// not yet part of the program is a single entry to fill in (and tests can stand in for one).
namespace app {

struct PriceWindowCalls
{
    std::function<uint8_t()> ipmprice;                       // 0: a completed load
    std::function<void(int32_t, double)> procvyg;            // basket sort tab, total weight
    std::function<void(std::string_view)> procin;            // the order file's name
    std::function<void()> pechzakaz;
    std::function<void(const PhotoItem&)> fotovyv;           // the item shown
    // The selection dialog: SelectionResultString, blank when nothing was applied.
    std::function<std::string()> vybproc;
};

// The table in use; starts with the program's own windows.
PriceWindowCalls& priceWindowCalls();
PriceWindowCalls programPriceWindowCalls();

} // namespace app
