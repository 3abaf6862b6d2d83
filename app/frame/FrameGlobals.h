#pragma once

#include <cstdint>

namespace platform::storage {
class ByteFile;
}
namespace platform::ui {
class HelpService;
}

// The frame's globals.
namespace app {

// 1: the data files do not match the program's version; the frame then asks to rebuild them.
extern uint8_t DatabaseVersionMismatch;

// The frame's client size, read when it opens and again whenever it is resized; the price-list
// window sizes itself by it when it opens.
extern int32_t MainClientWidth;
extern int32_t MainClientHeight;

// The byte file through which the frame creates a missing settings file.
platform::storage::ByteFile& TINI();

// The frame's help object while the frame runs; null otherwise.
extern platform::ui::HelpService* MainHelp;

} // namespace app
