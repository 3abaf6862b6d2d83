#include "platform/ui/ThreadRegistry.h"

#include "platform/storage/LogicalThread.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgramEnd.h"
#include "platform/ui/ScriptReplay.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowController.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <map>

namespace platform::ui {
namespace {

constexpr int kMinimumStack = 20000;

struct ThreadContext
{
    int stackSize = kMinimumStack;
    std::unique_ptr<WindowController> controller; // the window the thread was started with
    std::vector<Window*> windows;                 // its open windows, the top one last
};

struct Registry
{
    std::map<int, ThreadContext> threads;
    std::vector<Window*> open;
    int lastThread = 1;
    int modalDepth = 0;
    bool replayChecked = false;
};

Registry& registry()
{
    static Registry r;
    return r;
}

ThreadContext& context(int thread)
{
    return registry().threads[thread];
}

void reportStartFailure(const std::exception& error)
{
    message(text::utf8ToCp1251(error.what()), text::w("Ошибка"), MessageIcon::Hand);
}

} // namespace

int ThreadRegistry::current()
{
    return storage::currentThread();
}

int ThreadRegistry::start(ThreadProcedure procedure, int stackSize)
{
    Registry& r = registry();
    if (r.modalDepth > 0 || programLeaving())
        return 0;
    const int thread = ++r.lastThread;
    context(thread).stackSize = std::max(stackSize, kMinimumStack);
    const storage::ThreadScope scope(thread);
    std::unique_ptr<WindowController> controller;
    try {
        controller = procedure();
    } catch (const std::exception& error) {
        // A window that cannot be built (a bad definition) is reported; the program goes on.
        reportStartFailure(error);
    }
    if (!controller) {
        finishThread(thread);
        return thread;
    }
    WindowController* raw = controller.get();
    context(thread).controller = std::move(controller);
    raw->window().setModal(false);
    raw->window().setFinishedCallback([thread] {
        // Release runs after the event that closed the window has been handled.
        QTimer::singleShot(0, qApp, [thread] { finishThread(thread); });
    });
    const int level = raw->init();
    if (level == Level::Benign && !raw->window().wasOpened())
        raw->window().open();
    if (!raw->window().wasOpened()) {
        raw->window().setFinishedCallback(nullptr);
        finishThread(thread);
    }
    return thread;
}

void ThreadRegistry::finishThread(int thread)
{
    Registry& r = registry();
    const auto it = r.threads.find(thread);
    if (it == r.threads.end())
        return;
    // A controller whose handler is still on the stack (under a dialog's nested loop) is
    // released once that handler has returned.
    if (it->second.controller && it->second.controller->window().isDispatching()) {
        QTimer::singleShot(10, qApp, [thread] { finishThread(thread); });
        return;
    }
    std::unique_ptr<WindowController> controller = std::move(it->second.controller);
    if (controller) {
        const storage::ThreadScope scope(thread);
        controller->window().setFinishedCallback(nullptr);
        controller->window().finish();
        controller->kill();
        LastResponse = static_cast<std::uint8_t>(controller->response());
        controller.reset();
    }
    const auto still = r.threads.find(thread);
    if (still != r.threads.end() && still->second.windows.empty()) {
        r.threads.erase(still);
        storage::endThread(thread);
    }
}

int ThreadRegistry::runningThreadCount()
{
    int count = 0;
    for (const auto& [thread, context] : registry().threads)
        if (context.controller)
            ++count;
    return count;
}

int ThreadRegistry::stackSize(int thread)
{
    const auto it = registry().threads.find(thread);
    return it == registry().threads.end() ? 0 : it->second.stackSize;
}

bool ThreadRegistry::isRunning(int thread)
{
    return registry().threads.count(thread) != 0;
}

bool ThreadRegistry::post(int event, int control, int thread)
{
    Window* window = topWindow(thread == 0 ? current() : thread);
    if (!window)
        return false;
    window->post(event, control);
    return true;
}

Window* ThreadRegistry::topWindow(int thread)
{
    const auto it = registry().threads.find(thread);
    if (it == registry().threads.end() || it->second.windows.empty())
        return nullptr;
    return it->second.windows.back();
}

std::vector<Window*> ThreadRegistry::openWindows()
{
    return registry().open;
}

Window* ThreadRegistry::frame()
{
    for (Window* window : registry().open)
        if (window->isFrame())
            return window;
    return nullptr;
}

int ThreadRegistry::modalDepth()
{
    return registry().modalDepth;
}

void ThreadRegistry::windowOpened(Window& window)
{
    Registry& r = registry();
    r.open.push_back(&window);
    context(window.thread()).windows.push_back(&window);
    if (!r.replayChecked) {
        r.replayChecked = true;
        ScriptReplay::startFromEnvironment();
    }
}

void ThreadRegistry::windowClosed(Window& window)
{
    Registry& r = registry();
    std::erase(r.open, &window);
    const auto it = r.threads.find(window.thread());
    if (it != r.threads.end())
        std::erase(it->second.windows, &window);
}

void ThreadRegistry::enterModal()
{
    ++registry().modalDepth;
}

void ThreadRegistry::leaveModal()
{
    --registry().modalDepth;
}

void ThreadRegistry::closeDown(Window& frame)
{
    Registry& r = registry();
    // The most recent windows first, so a thread's dialogs end before its window.
    std::vector<Window*> others = r.open;
    std::reverse(others.begin(), others.end());
    for (Window* window : others) {
        if (window == &frame || std::find(r.open.begin(), r.open.end(), window) == r.open.end())
            continue;
        window->closeDown();
    }
    std::vector<int> started;
    for (const auto& [thread, context] : r.threads)
        if (context.controller)
            started.push_back(thread);
    for (int thread : started)
        finishThread(thread);
}

} // namespace platform::ui
