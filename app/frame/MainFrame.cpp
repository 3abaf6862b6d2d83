#include "app/frame/MainFrame.h"

#include "app/dictionary/Dictionary.h"
#include "app/frame/Conv1.h"
#include "app/frame/FrameGlobals.h"
#include "app/frame/ProcedureStarters.h"
#include "app/procnul/Procnul.h"
#include "app/startup/LocaleOverrides.h"
#include "app/startup/ProgramSettings.h"
#include "platform/storage/ByteFile.h"
#include "platform/storage/ErrorReporter.h"
#include "platform/storage/ErrorState.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/Locale.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PrinterSetup.h"
#include "platform/ui/ProgramCursor.h"
#include "platform/ui/SettingsFile.h"
#include "platform/ui/ThreadRegistry.h"

#include <QDir>

namespace app {

using namespace platform::ui;
namespace storage = platform::storage;

namespace {

constexpr int kHelpKeyF12 = 0x7B;
// The section of the settings file that keeps the frame's place.
constexpr const char* FrameSection = "Main";

} // namespace

MainFrame::MainFrame() : WindowController("quelbarto$quelb001", "P1$APPFRAME")
{
}

MainFrame::~MainFrame()
{
    if (MainHelp == m_help.get())
        MainHelp = nullptr;
}

bool MainFrame::isAccepted(const char* label) const
{
    const int control = window().number(label);
    return control != 0 && control == accepted();
}

int MainFrame::MainInit()
{
    GlobalErrors().pushProcedure("Main");
    m_procedureRegistered = true;
    const int level = WindowController::init();
    if (level != Level::Benign)
        return level;
    PendingRequest = 0;
    LastResponse = 0;

    Locale::instance().setDefaultCharSet(CyrillicCharSet);
    // The frame opens maximised, or where the person left it the last time.
    window().keepPlacement(ProgramSettings(), FrameSection);
    window().open();
    // The hand cursor of six toolbar buttons comes with the window's definition.

    keepClientSize();

    m_help = std::make_unique<HelpService>();
    m_help->init("orderhelp.chm", kHelpKeyF12);
    MainHelp = m_help.get();
    return Level::Benign;
}

void MainFrame::keepClientSize()
{
    MainClientWidth = window().propertyNumber(0, Property::ClientWidth);
    MainClientHeight = window().propertyNumber(0, Property::ClientHeight);
}

int MainFrame::takeWindowEvent()
{
    // A window opened later fits the frame as the person has sized it by then.
    if (event() == Event::Sized)
        keepClientSize();
    return WindowController::takeWindowEvent();
}

int MainFrame::MainKill()
{
    const int level = WindowController::kill();
    // The marks last one run, however the frame's release went.
    procnul1();
    procnul2();
    // Without a frame there is no client area to fit a window into.
    MainClientWidth = 0;
    MainClientHeight = 0;
    if (level != Level::Benign)
        return level;
    if (m_procedureRegistered) {
        GlobalErrors().popProcedure("Main");
        m_procedureRegistered = false;
    }
    if (m_help) {
        m_help->kill();
        MainHelp = nullptr;
        m_help.reset();
    }
    return Level::Benign;
}

void MainFrame::MainOpenHook()
{
    storage::ByteFile& settingsFile = TINI();
    settingsFile.setDiskName("quelbarto.ini");
    if (!storage::fileExists("quelbarto.ini")) {
        if (settingsFile.create() == 0)
            settingsFile.close();
    }

    if (DatabaseVersionMismatch == 1) {
        if (conv1() == 1)
            rebuildPriceList();
        else
            window().post(Event::CloseWindow);
    }
    WindowController::openHook();
}

void MainFrame::rebuildPriceList()
{
    setProgramCursor("wait");
    // Only an error of the rebuild itself may stop the program, not one met before it.
    storage::clearError();
    std::string failedFile;
    for (RecordFile* file : {&PRIOSN(), &PROIZ(), &SPRPR()}) {
        if (file->create() != 0 && failedFile.empty())
            failedFile = storage::errorFile();
    }
    setProgramCursor("");

    const std::string settingsName =
        platform::text::fromQString(QDir::currentPath()) + "/quelbarto.ini";
    SettingsFile::write(settingsName, "sizeprice", "br1", "");
    SettingsFile::write(settingsName, "sizeprice", "br2", "");
    if (!failedFile.empty())
        stop(failedFile);
}

int MainFrame::MainAccepted()
{
    if (isAccepted("?BUTTON6")) {
        post(Event::Accepted, window().number("?ITEM8"));
    } else {
        if (isAccepted("?ITEM14")) {
            const std::string text = window().property(0, Property::Width) + "   " +
                                     window().property(0, Property::Height);
            message(text);
            StartProcedure(Procedure::propba);
        }
        if (isAccepted("?BROWSEPRIOSN"))
            StartProcedure(Procedure::Browsepriosn);
        if (isAccepted("?ITEM16"))
            StartProcedure(Procedure::ustan);
        if (isAccepted("?ITEM7"))
            StartProcedure(Procedure::procman);
        if (isAccepted("?ITEM12"))
            StartProcedure(Procedure::procprim);
        if (isAccepted("?ITEM10"))
            StartProcedure(Procedure::conv);
        if (isAccepted("?ITEM8") && m_help)
            m_help->showContents();
        if (isAccepted("?3"))
            StartProcedure(Procedure::procoprog);
    }

    // The standard actions: printer set-up here, closing in the framework.
    if (isAccepted("?PRINTSETUP") || isAccepted("?BUTTON4"))
        PrinterSetup::run(window().topWidget());
    const int level = WindowController::takeAccepted();

    if (isAccepted("?BUTTON1"))
        StartProcedure(Procedure::Browsepriosn);
    if (isAccepted("?BUTTON2"))
        StartProcedure(Procedure::ustan);
    if (isAccepted("?BUTTON3"))
        StartProcedure(Procedure::procman);
    if (isAccepted("?BUTTON7"))
        StartProcedure(Procedure::procprim);
    return level;
}

} // namespace app
