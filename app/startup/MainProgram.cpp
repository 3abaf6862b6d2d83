#include "app/startup/MainProgram.h"

#include "app/dictionary/Dictionary.h"
#include "app/frame/FrameGlobals.h"
#include "app/frame/Main.h"
#include "app/startup/DatabaseVersionCheck.h"
#include "app/startup/DragFullWindows.h"
#include "app/startup/KeyboardGuard.h"
#include "app/startup/LocaleOverrides.h"
#include "app/startup/ProgramSettings.h"
#include "app/startup/StartFailure.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/FolderLock.h"
#include "platform/storage/RecordFileManager.h"
#include "platform/text/Cp1251.h"
#include "platform/system/Version.h"
#include "platform/ui/Locale.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"

#include <exception>

#include <unistd.h>

namespace app {

namespace {

// Said once, when the first data file is opened: the windows would otherwise report every
// open the first copy refuses.
void tellSecondCopy()
{
    using platform::text::w;
    platform::ui::message(w("Программа уже работает с этой папкой. Эта копия открывает "
                            "данные только для чтения: изменения в ней не сохраняются."),
                          w("Сообщение"), platform::ui::MessageIcon::Information);
}

// The same for a folder nobody may write in (a read-only disk or share): its data are shown.
void tellReadOnlyFolder()
{
    using platform::text::w;
    platform::ui::message(w("Папка программы доступна только для чтения. Данные открываются "
                            "только для чтения: изменения в них не сохраняются."),
                          w("Сообщение"), platform::ui::MessageIcon::Information);
}

} // namespace

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

    // A second copy in the same folder reads the data files only: the first copy holds them
    // for writing, and every refused open would be a message of its own.
    platform::storage::FolderLock folderLock;
    const bool secondCopy = !folderLock.acquire(".");
    if (secondCopy)
        platform::storage::RecordFileManager::setReadOnly(true, tellSecondCopy);
    else if (::access(".", W_OK) != 0)
        platform::storage::RecordFileManager::setReadOnly(true, tellReadOnlyFolder);

    // Data files of another version are found before the frame opens, so the frame asks about
    // them first thing.
    DatabaseVersionMismatch = PriceListLayoutDiffers() ? 1 : 0;
    // A frame that cannot be built (its definition unreadable) still undoes the start below.
    std::exception_ptr failure;
    try {
        Main();
    } catch (...) {
        failure = std::current_exception();
    }
    // Windows whose release waited behind a handler (an end asked for inside a dialog) close
    // now, while the dictionary's files are still there to close.
    platform::ui::finishRemainingWindows();
    platform::storage::RecordFileManager::setReadOnly(false);

    RestoreDragFullWindows();
    ProgramSettings().kill();
    DictionaryKill();
    GlobalErrors().kill();
    if (failure)
        platform::ui::endProgram(TellStartFailure(failure));
}

} // namespace app
