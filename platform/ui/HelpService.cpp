#include "platform/ui/HelpService.h"

#include "platform/ui/HelpWindow.h"
#include "platform/ui/ScreenFit.h"

#include <QApplication>
#include <QKeyEvent>

namespace platform::ui {
namespace {

constexpr int kVirtualKeyF1 = 0x70;

QString& folderSetting()
{
    static QString folder = QStringLiteral(":/help");
    return folder;
}

// The virtual-key code of an unmodified function key, 0 for any other key.
int functionKeyCode(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return 0;
    const int key = event.key();
    if (key < Qt::Key_F1 || key > Qt::Key_F24)
        return 0;
    return kVirtualKeyF1 + (key - Qt::Key_F1);
}

} // namespace

HelpService::HelpService(QObject* parent)
    : QObject(parent)
{
}

HelpService::~HelpService()
{
    kill();
}

void HelpService::setPagesFolder(const QString& folder)
{
    folderSetting() = folder;
}

QString HelpService::pagesFolder()
{
    return folderSetting();
}

void HelpService::init(std::string_view helpFile, int helpKey)
{
    m_helpFile = helpFile;
    m_helpKey = helpKey;
    if (!m_watching && qApp) {
        qApp->installEventFilter(this);
        m_watching = true;
    }
}

bool HelpService::showContents()
{
    if (!m_window) {
        m_window = new HelpWindow(pagesFolder());
        m_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    const bool shown = m_window->showContents();
    // It opens wholly on the screen, like every window of the program.
    if (m_window->isVisible())
        m_window->show();
    else
        showOnScreen(*m_window);
    m_window->raise();
    m_window->activateWindow();
    return shown;
}

void HelpService::close()
{
    delete m_window.data();
}

void HelpService::kill()
{
    close();
    if (m_watching && qApp)
        qApp->removeEventFilter(this);
    m_watching = false;
}

bool HelpService::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_helpKey != 0) {
        const int code = functionKeyCode(*static_cast<QKeyEvent*>(event));
        if (code == kVirtualKeyF1 || code == m_helpKey) {
            showContents();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform::ui
