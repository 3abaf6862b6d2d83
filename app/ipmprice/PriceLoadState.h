#pragma once

#include <cstdint>

// The steps of the price-list load, one per timer tick: the buttons only choose the first one.
namespace app {

enum class PriceLoadState : uint8_t {
    Waiting = 0,           // for "Загрузить"
    DownloadRequested = 1, // the status line is shown, the controls disabled
    Downloading = 2,
    ImportRequested = 3,
    Importing = 4,
    Finished = 5, // the window closes
};

} // namespace app
