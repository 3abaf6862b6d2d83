#include "app/startup/ProgramSettings.h"

namespace app {

platform::ui::SettingsFile& ProgramSettings()
{
    static platform::ui::SettingsFile settings;
    return settings;
}

} // namespace app
