#include "framework/JobGroup.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <system_error>
#include <utility>

namespace zavio {
namespace {

// A new thread is queued on the core of the thread that made it: while that
// one is busy it may wait there for milliseconds before another core takes
// it over. So it begins on the process's other cores, and takes all of them
// back once it runs.
struct Cores {
    cpu_set_t all;
    cpu_set_t others;  // all but the caller's
    bool elsewhere = false;
};

Cores CoresBesideThis()
{
    Cores cores;
    if (sched_getaffinity(0, sizeof cores.all, &cores.all) != 0) return cores;
    const int here = sched_getcpu();
    if (here < 0 || here >= CPU_SETSIZE || !CPU_ISSET(here, &cores.all) || CPU_COUNT(&cores.all) < 2) return cores;
    cores.others = cores.all;
    CPU_CLR(here, &cores.others);
    cores.elsewhere = true;
    return cores;
}

}  // namespace

JobGroup::JobGroup(std::size_t workers) : m_capacity(workers)
{
    // Each worker's slot stays where it is: its thread refers to it.
    m_workers.reserve(m_capacity);
}

JobGroup::~JobGroup()
{
    {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [&] { return m_busy == 0; });
        m_ending = true;
    }
    m_wake.notify_all();
    for (Worker& worker : m_workers) worker.thread.join();
}

std::size_t JobGroup::DefaultWorkers()
{
    // A machine that does not say how many cores it has gets no workers.
    const unsigned cores = std::thread::hardware_concurrency();
    return std::min<std::size_t>(cores > 1 ? cores - 1 : 0, 7);
}

std::size_t JobGroup::WorkersFor(std::size_t jobs)
{
    return std::min(DefaultWorkers(), jobs > 0 ? jobs - 1 : 0);
}

void JobGroup::Run(std::function<void()> job)
{
    if (HandOver(job)) return;
    job();  // a failure here is the caller's own
}

bool JobGroup::HandOver(std::function<void()>& job)
{
    std::unique_lock lock(m_mutex);
    if (std::exception_ptr failure = std::exchange(m_failure, nullptr)) std::rethrow_exception(failure);
    auto free = std::find_if(m_workers.begin(), m_workers.end(), [](const Worker& w) { return !w.busy; });
    if (free != m_workers.end()) {
        free->job = std::move(job);
        free->busy = true;
        free->begun = false;
        ++m_busy;
        lock.unlock();
        m_wake.notify_all();
        return true;
    }
    if (m_workers.size() == m_capacity) return false;
    Worker& started = m_workers.emplace_back();
    started.job = std::move(job);
    started.busy = true;
    try {
        const Cores cores = CoresBesideThis();
        started.thread = std::thread([this, &started, cores] {
            if (cores.elsewhere) {
                std::unique_lock sent(m_mutex);  // HandOver holds it until the thread is sent
                sent.unlock();
                sched_setaffinity(0, sizeof cores.all, &cores.all);
            }
            Work(started);
        });
        if (cores.elsewhere) pthread_setaffinity_np(started.thread.native_handle(), sizeof cores.others, &cores.others);
    } catch (const std::system_error&) {
        // No thread to be had (a limit on processes): the caller runs this
        // job and the rest.
        job = std::move(started.job);
        m_workers.pop_back();
        m_capacity = m_workers.size();
        return false;
    }
    ++m_busy;
    return true;
}

bool JobGroup::TakeBack(std::function<void()>& job)
{
    std::lock_guard lock(m_mutex);
    auto waiting = std::find_if(m_workers.begin(), m_workers.end(), [](const Worker& w) { return w.busy && !w.begun; });
    if (waiting == m_workers.end()) return false;
    job = std::move(waiting->job);
    waiting->job = nullptr;
    waiting->busy = false;
    --m_busy;
    return true;
}

void JobGroup::Wait()
{
    // A worker may be slow to begin (its thread just started, its core
    // lent to another process): the caller, idle otherwise, does not wait
    // for it.
    for (std::function<void()> job; TakeBack(job); job = nullptr) job();
    std::unique_lock lock(m_mutex);
    m_done.wait(lock, [&] { return m_busy == 0; });
    if (std::exception_ptr failure = std::exchange(m_failure, nullptr)) std::rethrow_exception(failure);
}

void JobGroup::Work(Worker& worker)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_ending || worker.busy; });
        if (!worker.busy) return;  // ending, with nothing to do
        std::function<void()> job = std::move(worker.job);
        worker.job = nullptr;
        worker.begun = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        job = nullptr;  // what the job held goes before the worker is free
        lock.lock();
        if (failure && !m_failure) m_failure = failure;
        worker.busy = false;
        --m_busy;
        m_done.notify_all();
    }
}

}  // namespace zavio
