#include "app/startup/DragFullWindows.h"

#include "platform/system/SystemParameters.h"

namespace app {

int32_t DragFullWindowsSaved = 0;

namespace {

constexpr unsigned kProfileAndBroadcast =
    platform::system::Spif::UpdateIniFile | platform::system::Spif::SendChange;

} // namespace

void SaveAndSwitchOffDragFullWindows()
{
    namespace sys = platform::system;
    // A failed read leaves the value 0, so nothing is switched at either end.
    DragFullWindowsSaved = 0;
    sys::systemParametersInfo(sys::Spi::GetDragFullWindows, 0, &DragFullWindowsSaved, 0);
    if (DragFullWindowsSaved == 1)
        sys::systemParametersInfo(sys::Spi::SetDragFullWindows, 0, nullptr, kProfileAndBroadcast);
}

void RestoreDragFullWindows()
{
    namespace sys = platform::system;
    if (DragFullWindowsSaved == 1)
        sys::systemParametersInfo(sys::Spi::SetDragFullWindows, 1, nullptr, kProfileAndBroadcast);
}

} // namespace app
