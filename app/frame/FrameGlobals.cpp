#include "app/frame/FrameGlobals.h"

#include "platform/storage/ByteFile.h"

namespace app {

uint8_t DatabaseVersionMismatch = 0;
int32_t MainClientWidth = 0;
int32_t MainClientHeight = 0;
platform::ui::HelpService* MainHelp = nullptr;

platform::storage::ByteFile& TINI()
{
    static platform::storage::ByteFile file(1);
    return file;
}

} // namespace app
