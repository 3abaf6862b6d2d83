#include "app/ipmprice/Ipmprice.h"

#include "app/dictionary/DamagedFiles.h"
#include "app/dictionary/Dictionary.h"
#include "app/ipmprice/DownloadWait.h"
#include "app/ipmprice/PriceListClient.h"
#include "app/ipmprice/PriceListDownload.h"
#include "app/ipmprice/PriceListImport.h"
#include "net/HttpClient.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramCursor.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>

namespace app {

using namespace platform::ui;
using platform::text::w;

namespace {

// Control numbers of quelb008.
constexpr int SourceGroup = 1;
constexpr int FromFile = 2;
constexpr int FromInternet = 3;
constexpr int FileNameField = 4;
constexpr int LookUpButton = 5;
constexpr int DownloadWarning = 6;
constexpr int StatusLine = 7;
constexpr int LoadButton = 8;
constexpr int CancelButton = 9;

constexpr int DamagedFile = 36;

// Lines or records between two redraws of the title counter.
constexpr int64_t ProgressEvery = 2000;

std::string trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return std::string(text);
}

class BusyCursor
{
public:
    BusyCursor() { setProgramCursor("wait"); }
    ~BusyCursor() { setProgramCursor(""); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

Ipmprice::Ipmprice(net::HttpClient& client, uint8_t& result)
    : WindowController("quelbarto$quelb008", "P1$WINDOW"), m_client(client), m_result(result)
{
    window().bind("FLG", m_source);
    window().bind("FNAME", m_fileName);
    window().bind("DISP", m_status);
}

int Ipmprice::init()
{
    GlobalErrors().pushProcedure("ipmprice");
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    window().select(FromFile);
    RelatePRIOSN->open();
    RelatePROIZ->open();
    RelateREKV->open();
    RelateREKV_D->open();
    m_filesOpened = true;
    window().open();
    return Level::Benign;
}

int Ipmprice::kill()
{
    const int level = WindowController::kill();
    // A download the window closed on before loading it goes (one that was loaded is
    // quelbit.txt by now).
    PriceListDownload::keepReceived(false);
    if (m_filesOpened) {
        RelatePRIOSN->close();
        RelatePROIZ->close();
        RelateREKV->close();
        RelateREKV_D->close();
        m_filesOpened = false;
    }
    GlobalErrors().popProcedure("ipmprice");
    return level;
}

int Ipmprice::takeSelected()
{
    if (selected() == FromFile) {
        window().unhide(FileNameField);
        window().unhide(LookUpButton);
        window().hide(DownloadWarning);
    } else if (selected() == FromInternet) {
        window().hide(FileNameField);
        window().hide(LookUpButton);
        window().unhide(DownloadWarning);
    }
    return WindowController::takeSelected();
}

int Ipmprice::takeAccepted()
{
    switch (accepted()) {
    case LoadButton:
        window().update();
        if (m_source == 0) {
            if (!platform::storage::fileExists(trimmed(m_fileName.view()))) {
                message(w("Ошибка открытия файла ") + m_fileName.str(), w("Ошибка"),
                        MessageIcon::Exclamation);
                return Level::Benign;
            }
            m_state = PriceLoadState::ImportRequested;
        } else {
            m_state = PriceLoadState::DownloadRequested;
        }
        break;
    case CancelButton:
        m_result = 1;
        window().post(Event::CloseWindow);
        break;
    default:
        break;
    }
    const int level = WindowController::takeAccepted();
    if (accepted() == LookUpButton)
        lookUpFile();
    return level;
}

void Ipmprice::lookUpFile()
{
    update();
    std::string name = w("quelbit.txt");
    if (!fileDialog(w("Выберите файл для загрузки прайс-листа"), name,
                    w("Текстовый файл прайс-листа|quelbit.txt|Все текстовые файлы|*.txt"),
                    FileOption::Explorer | FileOption::KeepDirectory))
        name.clear();
    m_fileName = name;
    window().display(FileNameField);
}

int Ipmprice::takeWindowEvent()
{
    if (event() != Event::Timer)
        return WindowController::takeWindowEvent();
    PriceLoadRun();
    return Level::Benign;
}

void Ipmprice::showWorking(const char* statusUtf8)
{
    m_status = w(statusUtf8);
    window().unhide(StatusLine);
    window().disable(SourceGroup);
    window().disable(LoadButton);
    window().disable(CancelButton);
}

void Ipmprice::PriceLoadRun()
{
    switch (m_state) {
    case PriceLoadState::Waiting:
        return;
    case PriceLoadState::DownloadRequested: {
        BusyCursor busy;
        showWorking("Ждите, загружается прайс-лист из интернета...");
        m_state = PriceLoadState::Downloading;
        return;
    }
    case PriceLoadState::Downloading: {
        bool loaded = false;
        {
            // The window stays responsive and "Отменить" ends the download; the timer ticks
            // that come meanwhile wait in the window's queue.
            DownloadWait wait(window(), CancelButton);
            loaded = PriceListDownload(m_client).run();
        }
        if (loaded) {
            m_state = PriceLoadState::ImportRequested;
            return;
        }
        m_result = 1;
        m_state = PriceLoadState::Finished;
        break;
    }
    case PriceLoadState::ImportRequested: {
        BusyCursor busy;
        showWorking("Ждите, обновляется прайс-лист...");
        m_state = PriceLoadState::Importing;
        return;
    }
    case PriceLoadState::Importing:
        importPriceList();
        m_state = PriceLoadState::Finished;
        break;
    case PriceLoadState::Finished:
        break;
    }
    // Finished: once, however many ticks were queued meanwhile.
    if (m_closing)
        return;
    m_closing = true;
    window().setProperty(0, Property::Timer, 0LL);
    window().post(Event::CloseWindow);
}

// The load replaces the whole price list and the manufacturers, so a damaged one of them may
// start from a new file, the damaged one kept beside it for whoever wants to look. False when
// one is damaged and stays so, or cannot be opened.
bool Ipmprice::loadFilesSound()
{
    struct LoadFile
    {
        RecordFile& file;
        FileRelation* relation;
    };
    for (const LoadFile& load :
         {LoadFile{PRIOSN(), RelatePRIOSN}, LoadFile{PROIZ(), RelatePROIZ}}) {
        if (fileIsDamaged(load.file)) {
            if (!offerNewFile(*load.relation, newFileQuestion(load.file, true),
                              w("Загрузка прайс-листа")))
                return false;
        } else if (!load.file.isOpen() && load.relation->open() != 0) {
            return false;
        }
    }
    return true;
}

void Ipmprice::importPriceList()
{
    const std::string fileName =
        m_source == 0 ? trimmed(m_fileName.view()) : PriceListDownload::receivedFile();
    if (!loadFilesSound()) {
        if (m_source != 0)
            PriceListDownload::keepReceived(false);
        m_result = 1;
        return;
    }
    // The title counts the lines and records; the runtime redraws it between slices of the
    // load, while the user's input waits.
    PriceListImport import(
        [this](PriceListImport::Phase phase, int64_t counter) {
            const char* title = phase == PriceListImport::Phase::Initialise
                                    ? "Инициализация прайс-листа -"
                                    : "Обновление прайс-листа -";
            window().setProperty(0, Property::Text, w(title) + std::to_string(counter));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        },
        ProgressEvery);
    // A file that does not look like a price list is loaded only when the user says so.
    // The question comes in the middle of the busy load: the normal cursor while it is open.
    import.setQuestion([](const std::string& question) {
        setProgramCursor("");
        const bool yes = message(question, w("Сообщение"), MessageIcon::Question,
                                 Button::Yes | Button::No, Button::No)
                         == Button::Yes;
        setProgramCursor("wait");
        return yes;
    });
    // Messages name the file the user knows: a download is "quelbit.txt" to them.
    const std::string shownName = m_source == 0 ? fileName : PriceListDownload::targetFile();
    int code = 0;
    {
        BusyCursor busy;
        code = import.run(fileName, shownName);
    }
    if (code == DamagedFile && (PRIOSN().damaged() || PROIZ().damaged())) {
        if (!loadFilesSound()) {
            // "Нет" to making the file anew is the answer: nothing more is said of it.
            if (m_source != 0)
                PriceListDownload::keepReceived(false);
            m_result = 1;
            return;
        }
        BusyCursor busy;
        code = import.run(fileName, shownName);
    }
    if (m_source != 0)
        PriceListDownload::keepReceived(code == 0);
    if (code == PriceListImport::Declined) {
        m_result = 1;
        return;
    }
    if (code != 0) {
        message(import.failure() + w(". Прайс-лист не изменён."), w("Ошибка"),
                MessageIcon::Exclamation);
        m_result = 1;
        return;
    }
    m_result = 0;
}

uint8_t ipmprice()
{
    uint8_t result = 1; // nothing loaded until a load completes
    PriceListClient client;
    client.Init();
    {
        Ipmprice dialog(client, result);
        dialog.run();
    }
    client.Kill();
    return result;
}

} // namespace app
