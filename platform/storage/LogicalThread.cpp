#include "platform/storage/LogicalThread.h"

#include <map>
#include <vector>

namespace platform::storage {

namespace {

int g_currentThread = 1;
int g_nextListenerId = 1;

// Never destroyed: objects destroyed at the process's end (a file's manager) still remove
// their listeners, whatever the order of the static destructors.
std::map<int, ThreadEndListener>& listeners()
{
    static auto* all = new std::map<int, ThreadEndListener>;
    return *all;
}

} // namespace

int currentThread() { return g_currentThread; }

void setCurrentThread(int thread) { g_currentThread = thread; }

ThreadScope::ThreadScope(int thread)
    : m_previous(g_currentThread)
{
    g_currentThread = thread;
}

ThreadScope::~ThreadScope() { g_currentThread = m_previous; }

int addThreadEndListener(ThreadEndListener listener)
{
    const int id = g_nextListenerId++;
    listeners().emplace(id, std::move(listener));
    return id;
}

void removeThreadEndListener(int id) { listeners().erase(id); }

void endThread(int thread)
{
    // A listener may add or remove listeners while it runs (a file closing its manager), so
    // the calls go over a copy.
    std::vector<ThreadEndListener> calls;
    for (const auto& [id, listener] : listeners())
        calls.push_back(listener);
    for (const auto& listener : calls)
        listener(thread);
}

} // namespace platform::storage
