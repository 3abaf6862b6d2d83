#include "app/ustan/Ustan.h"

#include "app/dictionary/DamagedFiles.h"
#include "app/dictionary/Dictionary.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/RecordFieldBinding.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

namespace app {

using namespace platform::ui;
using platform::text::w;

int32_t UstanThread = 0;

namespace {

constexpr int SaveButton = 1;
constexpr int CancelButton = 2;
constexpr int PhotoFolderButton = 29;
constexpr int PhotoFolderField = 28;

template <std::size_t N> void dropLeadingBlanks(platform::text::FixedString<N>& text)
{
    std::string_view value = text.clipped();
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    text = std::string(value);
}

void stopWithFileError()
{
    stop(w("Ошибка файла ") + platform::storage::errorFile() + " (" +
         platform::storage::errorText() + ")");
}

} // namespace

Ustan::Ustan() : WindowController("quelbarto$quelb007", "P1$WINDOW")
{
}

int Ustan::init()
{
    GlobalErrors().pushProcedure("ustan");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(window().nextField(0));
    m_rekvOpened = openRecovered(*RelateREKV);
    // A file that cannot be opened was reported by its manager: the other would fail the same
    // way (a full disk), and the window could store nothing.
    m_siteOpened = m_rekvOpened && openRecovered(*RelateREKV_D);

    if (UstanThread != 0) {
        // Another settings window runs: bring it forward and open nothing.
        post(Event::GainFocus, 0, UstanThread);
        return Level::Notify;
    }
    UstanThread = currentThread();
    m_ownsThreadMark = true;

    // Without its records the window could only fail again at every save: what kept them from
    // being made is said once, and the window does not open.
    if (!m_siteOpened || !readFirstRecord(*RelateREKV, m_rekvOpened) ||
        !readFirstRecord(*RelateREKV_D, m_siteOpened))
        return Level::Notify;

    RekvRecord& rek = REK();
    Window& win = window();
    win.bind("REK:NAIM", rek.NAIM);
    win.bind("REK:ADR", rek.ADR);
    win.bind("REK:TEL", rek.TEL);
    win.bind("REK:EMAIL", rek.EMAIL);
    win.bind("REK:KONT", rek.KONT);
    win.bind("REK:INN", rek.INN);
    win.bind("REK:BANKNAIM", rek.BANKNAIM);
    win.bind("REK:BIK", rek.BIK);
    win.bind("REK:RS", rek.RS);
    win.bind("REK:KS", rek.KS);
    win.bind("REK:FOTOKAT", rek.FOTOKAT);
    win.bind("REK:PROXYADR", rek.PROXYADR);
    win.bindUse("REK:PROXYPORT",
                bindingToField(REKV().layout(), REKV().buffer(), "REK:PROXYPORT"));
    win.bind("REK:USERNAME", rek.USERNAME);
    win.bind("REK:USERPASS", rek.USERPASS);
    win.bind("REKD:SITENAME", REKD().SITENAME);
    win.bindUse("REKD:SITEPORT",
                bindingToField(REKV_D().layout(), REKV_D().buffer(), "REKD:SITEPORT"));
    win.open();
    return Level::Benign;
}

// The values of a damaged file come back into a new one before the window shows them, so they
// can be seen and stored again.
bool Ustan::openRecovered(platform::storage::FileRelation& relation)
{
    platform::storage::RecordFile& file = *relation.manager()->file();
    if (!platform::storage::RecordFileManager::readOnly() && !file.isOpen() && fileIsDamaged(file)
        && recoverDamagedFile(relation))
        return true;
    return relation.open() == 0;
}

// A fresh folder holds no record: one blank record is made, then the first record is read.
// Damage met on the way is mended as at the open, once. False, after saying why, when there is
// none to show.
bool Ustan::readFirstRecord(platform::storage::FileRelation& relation, bool& opened)
{
    platform::storage::RecordFile& file = *relation.manager()->file();
    for (bool retry = true;; retry = false) {
        if (file.records() == 0 && !file.damaged()) {
            file.clearBuffer();
            if (file.add() != 0 && !file.damaged()) {
                stopWithFileError(); // the reason the record could not be made (a full disk)
                return false;
            }
        }
        file.setFileOrder();
        file.next();
        if (platform::storage::errorFile().empty())
            return true;
        if (!retry || !opened || !file.damaged() || platform::storage::RecordFileManager::readOnly()
            || !recoverDamagedFile(relation))
            break;
    }
    stopWithFileError();
    return false;
}

int Ustan::kill()
{
    const int level = WindowController::kill();
    if (m_ownsThreadMark && UstanThread == currentThread())
        UstanThread = 0;
    if (m_rekvOpened)
        RelateREKV->close();
    if (m_siteOpened)
        RelateREKV_D->close();
    GlobalErrors().popProcedure("ustan");
    return level;
}

int Ustan::takeAccepted()
{
    switch (accepted()) {
    case SaveButton:
        save();
        window().post(Event::CloseWindow);
        break;
    case CancelButton:
        window().post(Event::CloseWindow);
        break;
    default:
        break;
    }
    const int level = WindowController::takeAccepted();
    if (accepted() == PhotoFolderButton)
        choosePhotoFolder();
    return level;
}

void Ustan::save()
{
    update();
    dropLeadingBlanks(REK().FOTOKAT);
    REKV().put();
    if (!platform::storage::errorFile().empty()) {
        stopWithFileError(); // the site would be refused for the same reason: said once
        return;
    }
    dropLeadingBlanks(REKD().SITENAME);
    REKV_D().put();
    if (!platform::storage::errorFile().empty())
        stopWithFileError();
}

// The chosen folder is stored with the platform's separator after it, so a photo's name is the
// folder followed by the file name.
void Ustan::choosePhotoFolder()
{
    update();
    std::string folder = REK().FOTOKAT.str();
    if (folderDialog(w("Укажите путь к фотокаталогу"), folder)) {
        while (!folder.empty() && folder.back() == ' ')
            folder.pop_back();
        if (folder.empty() || (folder.back() != '\\' && folder.back() != '/'))
            folder += '/';
        REK().FOTOKAT = folder;
    }
    window().display(PhotoFolderField);
}

int Ustan::takeWindowEvent()
{
    switch (event()) {
    case Event::CloseWindow:
        if (m_ownsThreadMark)
            UstanThread = 0;
        break;
    case Event::GainFocus:
        window().setProperty(0, Property::Active, 1LL);
        break;
    default:
        break;
    }
    return WindowController::takeWindowEvent();
}

std::unique_ptr<WindowController> ustan()
{
    return std::make_unique<Ustan>();
}

} // namespace app
