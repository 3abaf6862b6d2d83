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
#include "platform/ui/ProgramEnd.h"

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
    // Windows whose release waited behind a handler (an end asked for inside a dialog) close
    // now, while the dictionary's files are still there to close.
    platform::ui::finishRemainingWindows();

    RestoreDragFullWindows();
    ProgramSettings().kill();
    DictionaryKill();
    GlobalErrors().kill();
}

} // namespace app
