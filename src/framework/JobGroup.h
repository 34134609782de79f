// Independent jobs run beside the caller on the machine's other cores. A job
// goes to a worker that is free; with none free the caller runs it itself, so
// no more jobs are under way than there are cores, and nothing waits in a
// queue holding its input. Jobs share nothing with each other or the caller
// until Wait() returns; what they make is the caller's only after that.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zavio {

class JobGroup {
public:
    // Workers besides the caller: one fewer than the cores, by default.
    explicit JobGroup(std::size_t workers = DefaultWorkers());
    // Waits for the jobs under way; the workers end. A failure no Run or
    // Wait passed on goes with the group: its caller is ending early anyway.
    ~JobGroup();
    JobGroup(const JobGroup&) = delete;
    JobGroup& operator=(const JobGroup&) = delete;

    // A job the caller runs throws straight out of Run. What a worker's job
    // threw is thrown by the next Run, which then starts nothing, or by Wait.
    void Run(std::function<void()> job);
    // Every job is done; the first exception a job threw is thrown here. A
    // job no worker has begun yet the caller takes back and runs itself.
    void Wait();

    static std::size_t DefaultWorkers();
    // Workers for `jobs` jobs: the caller takes one itself, so a single job
    // starts no thread.
    static std::size_t WorkersFor(std::size_t jobs);

private:
    struct Worker {
        std::thread thread;
        std::function<void()> job;
        bool busy = false;
        bool begun = false;  // the job has left `job` for the worker's thread
    };
    // Gives the job to a free worker, or to one started for it; false leaves
    // it with the caller.
    bool HandOver(std::function<void()>& job);
    // A job handed over whose worker has not begun it, taken from that worker.
    bool TakeBack(std::function<void()>& job);
    void Work(Worker& worker);

    std::vector<Worker> m_workers;  // started as jobs first need them
    std::size_t m_capacity;
    std::mutex m_mutex;
    std::condition_variable m_wake;  // a worker has a job, or the group ends
    std::condition_variable m_done;  // a worker is free again
    std::size_t m_busy = 0;
    bool m_ending = false;
    std::exception_ptr m_failure;
};

}  // namespace zavio
