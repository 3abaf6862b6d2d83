#include "platform/storage/BackgroundQueue.h"

#include <algorithm>
#include <system_error>

#include <sched.h>

namespace platform::storage {

namespace {

// The cores this process may run on (fewer than the machine's when it is confined).
std::size_t cores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<std::size_t>(CPU_COUNT(&set));
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace

bool BackgroundQueue::Ticket::withdraw()
{
    const std::lock_guard lock(m_mutex);
    if (m_state == State::Waiting)
        m_state = State::Withdrawn;
    return m_state == State::Withdrawn;
}

void BackgroundQueue::Ticket::wait()
{
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [this] { return m_state == State::Done || m_state == State::Withdrawn; });
}

BackgroundQueue::BackgroundQueue(std::size_t threads) : m_limit(std::max<std::size_t>(threads, 1))
{
}

BackgroundQueue::~BackgroundQueue()
{
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_added.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

BackgroundQueue& BackgroundQueue::shared()
{
    static BackgroundQueue queue(std::max<std::size_t>(cores(), 2) - 1);
    return queue;
}

std::shared_ptr<BackgroundQueue::Ticket> BackgroundQueue::add(std::function<void()> work)
{
    auto ticket = std::make_shared<Ticket>();
    ticket->m_work = std::move(work);
    {
        const std::lock_guard lock(m_mutex);
        m_waiting.push_back(ticket);
        // A thread is started when the free ones are fewer than the pieces waiting, up to the
        // limit (one just woken is still counted free until it takes its piece).
        if (m_waiting.size() > m_idle && m_threads.size() < m_limit && !startThread()
            && m_threads.empty()) {
            // The system gives no thread and none runs to take the piece: it is taken back
            // at once, so whoever needs its result does the work there and then.
            m_waiting.pop_back();
            ticket->m_state = Ticket::State::Withdrawn;
            ticket->m_work = nullptr;
            return ticket;
        }
    }
    m_added.notify_one();
    return ticket;
}

bool BackgroundQueue::startThread()
{
    try {
        m_threads.emplace_back([this] { serve(); });
        return true;
    } catch (const std::system_error&) {
        return false; // a process or memory limit: the threads that run go on alone
    }
}

void BackgroundQueue::serve()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        ++m_idle;
        m_added.wait(lock, [this] { return m_ending || !m_waiting.empty(); });
        --m_idle;
        if (m_waiting.empty())
            return; // ending, nothing left
        const std::shared_ptr<Ticket> ticket = std::move(m_waiting.front());
        m_waiting.pop_front();
        {
            const std::lock_guard taken(ticket->m_mutex);
            if (ticket->m_state != Ticket::State::Waiting)
                continue; // withdrawn
            ticket->m_state = Ticket::State::Running;
        }
        lock.unlock();
        ticket->m_work();
        {
            const std::lock_guard done(ticket->m_mutex);
            ticket->m_state = Ticket::State::Done;
            ticket->m_work = nullptr;
        }
        ticket->m_done.notify_all();
        lock.lock();
    }
}

} // namespace platform::storage
