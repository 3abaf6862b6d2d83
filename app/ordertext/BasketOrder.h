#pragma once

// The basket's record order for the saved order files, by the tab of the basket sheet:
// 1 the file's own order, 2 code, 3 designation, 4 name, 5 manufacturer. Any other value is
// taken as 1, so the walk always starts at a known place.
namespace app {

int setBasketOrder(int basketSortTab);

} // namespace app
