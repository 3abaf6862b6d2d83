#pragma once

#include <functional>
#include <memory>
#include <vector>

// Logical threads: a context with a number (the frame's is 1), the stack of windows it shows,
// and, in the storage, its own record buffers, open states and error state. Only one logical
// thread runs at a time; the runtime switches the storage's current thread before it runs code
// of a window.
namespace platform::ui {

class Window;
class WindowController;

using ThreadProcedure = std::function<std::unique_ptr<WindowController>()>;

class ThreadRegistry
{
public:
    // Starts a procedure on a new logical thread: the procedure builds its window controller
    // in the new thread's context (it may return nullptr to open nothing), whose init runs at
    // once and whose window opens as an MDI child of the frame; release and the end of the
    // thread follow when the window closes. Returns the thread number at once; 0, starting
    // nothing, while a modal window is open or the program is ending. Stack sizes below 20000 are raised to 20000 and
    // only recorded.
    static int start(ThreadProcedure procedure, int stackSize = 0);
    static int current();
    static int stackSize(int thread);
    static bool isRunning(int thread);
    // Threads started with a window whose release has not run yet.
    static int runningThreadCount();
    // Lets the releases that closed windows queued run (up to waitMs): before the test driver
    // hands back and before the application object ends, so no closed window's controller
    // outlives what it releases, or Qt.
    static void runQueuedReleases(int waitMs = 2000);

    // Queues an event to the top window of a thread (0: the current one); false when the
    // thread shows no window.
    static bool post(int event, int control = 0, int thread = 0);

    static Window* topWindow(int thread);
    // Every open window, in the order they opened.
    static std::vector<Window*> openWindows();
    static Window* frame();
    static int modalDepth();

    // The runtime's side.
    static void windowOpened(Window& window);
    static void windowClosed(Window& window);
    static void enterModal();
    static void leaveModal();
    // The frame is closing: every other window gets the close-down event and ends, and the
    // threads end with their release run.
    static void closeDown(Window& frame);

private:
    static void finishThread(int thread);
};

// Shorthands in the words the program uses.
inline int startThread(ThreadProcedure procedure, int stackSize = 0)
{
    return ThreadRegistry::start(std::move(procedure), stackSize);
}
inline int currentThread()
{
    return ThreadRegistry::current();
}
inline bool post(int event, int control = 0, int thread = 0)
{
    return ThreadRegistry::post(event, control, thread);
}

} // namespace platform::ui
