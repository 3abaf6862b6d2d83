#pragma once

// The data files of an older program version have another record layout: opening the price
// list then gives 47. The check opens "priosn.tps" for reading only, before the frame opens.
namespace app {

// True when "priosn.tps" exists in the working folder and its stored layout is not the
// program's. A missing file is not a mismatch (a first run), nor is any other open failure.
bool PriceListLayoutDiffers();

} // namespace app
