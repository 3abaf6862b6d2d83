#pragma once

#include <functional>

// The storage keeps record buffers, open states and the error state per logical thread. The
// windowing runtime sets the current thread before it runs code of a window; tests set it
// directly. Thread 1 is the frame's and the default.
namespace platform::storage {

int currentThread();
void setCurrentThread(int thread);

// Switches the current thread for the lifetime of the object.
class ThreadScope
{
public:
    explicit ThreadScope(int thread);
    ~ThreadScope();
    ThreadScope(const ThreadScope&) = delete;
    ThreadScope& operator=(const ThreadScope&) = delete;

private:
    int m_previous;
};

// Called by the runtime when a logical thread ends: every listener drops what it kept for it.
using ThreadEndListener = std::function<void(int thread)>;
int addThreadEndListener(ThreadEndListener listener);
void removeThreadEndListener(int id);
void endThread(int thread);

} // namespace platform::storage
