#include "platform/ui/ProgramEnd.h"

#include "platform/ui/Event.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace platform::ui {
namespace {

bool g_ending = false;
bool g_closing = false;
int g_exitCode = 0;

// Turns of the close: a Qt dialog closed each 10 ms, the frame waited for each 50 ms while the
// start has not opened it yet.
constexpr int kFrameWaitTries = 600;

bool stillOpen(Window* window)
{
    const std::vector<Window*> open = ThreadRegistry::openWindows();
    return std::find(open.begin(), open.end(), window) != open.end();
}

// The frame closes once the other windows have been released, so that it is released last;
// a release that waits for its handler to return is given a short while.
void finishFrameWhenAlone(int triesLeft)
{
    Window* frame = ThreadRegistry::frame();
    if (!g_ending || !frame)
        return;
    if (ThreadRegistry::runningThreadCount() > 0 && triesLeft > 0) {
        QTimer::singleShot(10, QCoreApplication::instance(),
                           [triesLeft] { finishFrameWhenAlone(triesLeft - 1); });
        return;
    }
    frame->finish();
}

void closeEveryWindow()
{
    // Newest first: a thread's dialogs end before its window, the frame after all of them.
    std::vector<Window*> open = ThreadRegistry::openWindows();
    std::reverse(open.begin(), open.end());
    for (Window* window : open) {
        if (window->isFrame() || !stillOpen(window))
            continue;
        window->closeDown();
    }
    finishFrameWhenAlone(200);
}

bool isRuntimeWindow(const QWidget* widget)
{
    const std::vector<Window*> open = ThreadRegistry::openWindows();
    return std::any_of(open.begin(), open.end(), [widget](Window* window) {
        return window->topWidget() == widget || window->content() == widget;
    });
}

// Qt's own modal dialogs run nested loops that only the person ends: they go first, one a
// turn, as their close box would end them; the runtime's windows close with the frame.
void closeStep(int triesLeft)
{
    if (!g_closing)
        return;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && !isRuntimeWindow(modal) && triesLeft > 0) {
        if (!modal->close())
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        QTimer::singleShot(10, QCoreApplication::instance(),
                           [triesLeft] { closeStep(triesLeft - 1); });
        return;
    }
    Window* frame = ThreadRegistry::frame();
    if (!frame) {
        if (triesLeft > 0)
            QTimer::singleShot(50, QCoreApplication::instance(),
                               [triesLeft] { closeStep(triesLeft - 1); });
        return;
    }
    frame->userClose();
}

} // namespace

void closeProgram()
{
    if (g_closing || g_ending || !QCoreApplication::instance())
        return;
    g_closing = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] { closeStep(kFrameWaitTries); });
}

bool programLeaving()
{
    return g_ending || g_closing;
}

void endProgram(int exitCode)
{
    if (g_ending)
        return;
    g_ending = true;
    g_exitCode = exitCode;
    // The caller's handler is still on the stack: the windows close once it has returned.
    if (QCoreApplication::instance())
        QTimer::singleShot(0, QCoreApplication::instance(), [] {
            if (g_ending)
                closeEveryWindow();
        });
}

bool programEnding()
{
    return g_ending;
}

int programExitCode()
{
    return g_exitCode;
}

void finishRemainingWindows()
{
    if (!QCoreApplication::instance())
        return;
    if (g_ending)
        closeEveryWindow();
    // A release deferred behind a handler runs from a short timer; two seconds is far more
    // than the handlers on the stack need to return once their windows are gone.
    QElapsedTimer waited;
    waited.start();
    while (ThreadRegistry::runningThreadCount() > 0 && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void resetProgramEnd()
{
    g_ending = false;
    g_closing = false;
    g_exitCode = 0;
}

} // namespace platform::ui
