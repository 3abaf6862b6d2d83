#include "app/startup/MainProgram.h"

#include "app/dictionary/Dictionary.h"
#include "app/frame/FrameGlobals.h"
#include "app/frame/Main.h"
#include "app/startup/DatabaseVersionCheck.h"
#include "app/startup/DragFullWindows.h"
#include "app/startup/KeyboardGuard.h"
#include "app/startup/LocaleOverrides.h"
#include "app/startup/ProgramSettings.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/system/Version.h"
#include "platform/ui/Locale.h"

namespace app {

void MainProgram()
{
    using platform::ui::Locale;

    SetLocaleOverrides();
    SetKeyAliases();
    Locale::instance().setDefaultCharSet(CyrillicCharSet);

    GlobalErrors().init();
    DictionaryInit();
    ProgramSettings().init(SettingsFileName);

    if (KeyboardGuardQualifies(platform::system::getVersion()))
        InstallKeyboardGuard();

    SaveAndSwitchOffDragFullWindows();

    // Data files of another version are found before the frame opens, so the frame asks about
    // them first thing.
    DatabaseVersionMismatch = PriceListLayoutDiffers() ? 1 : 0;
    Main();

    RestoreDragFullWindows();
    ProgramSettings().kill();
    DictionaryKill();
    GlobalErrors().kill();
}

} // namespace app
