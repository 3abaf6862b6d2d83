#include "platform/ui/ProgramEnd.h"

#include "platform/ui/Event.h"
#include "platform/ui/ThreadRegistry.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace platform::ui {
namespace {

bool g_ending = false;
int g_exitCode = 0;

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
        window->raise(Event::CloseDown, 0);
        if (stillOpen(window))
            window->finish();
    }
    finishFrameWhenAlone(200);
}

} // namespace

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
    g_exitCode = 0;
}

} // namespace platform::ui
