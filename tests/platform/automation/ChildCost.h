#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

// Runs work in a child process and measures what it cost: wall time and peak memory, which a
// test cannot measure in its own process once other tests have grown it.
namespace childcost {

struct Cost
{
    bool finished = false; // false: killed at the time limit
    int exitCode = -1;
    double seconds = 0;    // wall time
    double cpuSeconds = 0; // user and system time of the child: what the work itself cost,
                           // little swayed by other processes on a busy machine
    double peakMegabytes = 0;
};

inline Cost measure(const std::function<int()>& work, double limitSeconds)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0)
        _exit(work());
    Cost cost;
    int status = 0;
    rusage usage{};
    for (;;) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        cost.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (done == child) {
            cost.finished = WIFEXITED(status);
            cost.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (cost.seconds > limitSeconds) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    cost.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    cost.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    return cost;
}

} // namespace childcost
