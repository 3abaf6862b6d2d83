#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// Work the storage does beside the thread of the windows (search copies made beforehand): run
// in the order given on threads of its own, at most one fewer at a time than the machine has
// cores, so that the windows' thread keeps one. Work still waiting can be taken back, so that
// whoever needs its result at once can do it there and then instead of queueing behind others.
namespace platform::storage {

class BackgroundQueue
{
public:
    // One piece of work and where it stands.
    class Ticket
    {
    public:
        // Takes the work back if it has not started: true when it will never run.
        bool withdraw();
        // Waits until the work has run (it must not have been withdrawn).
        void wait();

    private:
        friend class BackgroundQueue;
        enum class State : uint8_t { Waiting, Running, Done, Withdrawn };

        std::function<void()> m_work;
        std::mutex m_mutex;
        std::condition_variable m_done;
        State m_state = State::Waiting;
    };

    // threads: how many pieces of work run at a time.
    explicit BackgroundQueue(std::size_t threads);
    // Runs what is waiting, then ends the threads.
    ~BackgroundQueue();
    BackgroundQueue(const BackgroundQueue&) = delete;
    BackgroundQueue& operator=(const BackgroundQueue&) = delete;

    // The process's queue.
    static BackgroundQueue& shared();

    // Never throws for want of a thread: when the system gives none and no thread of the
    // queue runs, the ticket comes back already withdrawn (the work never runs).
    std::shared_ptr<Ticket> add(std::function<void()> work);

private:
    bool startThread(); // under m_mutex
    void serve();

    std::size_t m_limit;
    std::mutex m_mutex;
    std::condition_variable m_added;
    std::deque<std::shared_ptr<Ticket>> m_waiting;
    std::vector<std::thread> m_threads;
    std::size_t m_idle = 0;
    bool m_ending = false;
};

} // namespace platform::storage
