#pragma once

#include "platform/storage/BackgroundQueue.h"
#include "platform/storage/ContainsCopy.h"

#include <memory>
#include <optional>

// A ContainsCopy made from a BackgroundScan by the background queue, while the thread that
// started it goes on. Ended early by a write to the file (the scan stops) or by stop().
namespace platform::storage {

class BackgroundScan;

class ContainsCopyBuild
{
public:
    explicit ContainsCopyBuild(std::unique_ptr<BackgroundScan> scan,
                               BackgroundQueue& queue = BackgroundQueue::shared());
    // Stops the build and waits for it.
    ~ContainsCopyBuild();
    ContainsCopyBuild(const ContainsCopyBuild&) = delete;
    ContainsCopyBuild& operator=(const ContainsCopyBuild&) = delete;

    void stop();
    // Waits for the build to end: the copy of the whole file as it was when the scan was
    // made, or nothing when it was stopped or failed. A build still waiting in the queue is
    // taken back and gives nothing at once: the caller then makes the copy itself, which is
    // quicker than queueing behind other builds. Once.
    std::optional<ContainsCopy> take();

private:
    void run();

    std::unique_ptr<BackgroundScan> m_scan;
    std::optional<ContainsCopy> m_copy;
    std::shared_ptr<BackgroundQueue::Ticket> m_ticket;
};

} // namespace platform::storage
