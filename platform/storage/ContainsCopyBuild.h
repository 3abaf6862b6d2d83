#pragma once

#include "platform/storage/ContainsCopy.h"

#include <memory>
#include <optional>
#include <thread>

// A ContainsCopy made on a thread of its own from a BackgroundScan, while the thread that
// started it goes on. Ended early by a write to the file (the scan stops) or by stop().
namespace platform::storage {

class BackgroundScan;

class ContainsCopyBuild
{
public:
    explicit ContainsCopyBuild(std::unique_ptr<BackgroundScan> scan);
    // Stops the build and waits for its thread.
    ~ContainsCopyBuild();
    ContainsCopyBuild(const ContainsCopyBuild&) = delete;
    ContainsCopyBuild& operator=(const ContainsCopyBuild&) = delete;

    void stop();
    // Waits for the build to end: the copy of the whole file as it was when the scan was
    // made, or nothing when it was stopped or failed. Once.
    std::optional<ContainsCopy> take();

private:
    void run();

    std::unique_ptr<BackgroundScan> m_scan;
    std::optional<ContainsCopy> m_copy;
    std::thread m_thread;
};

} // namespace platform::storage
