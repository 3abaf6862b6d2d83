// The queue of background work: pieces run in the order given, no more at a time than its
// threads, and a piece still waiting can be taken back and then never runs.
#include "platform/storage/BackgroundQueue.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <vector>

using platform::storage::BackgroundQueue;

TEST(BackgroundQueue, PiecesRunInTurnAndOneWaitingCanBeTakenBack)
{
    std::mutex mutex;
    std::vector<int> ran;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> firstStarted;
    {
        BackgroundQueue queue(1);
        auto first = queue.add([&] {
            firstStarted.set_value();
            released.wait();
            const std::lock_guard lock(mutex);
            ran.push_back(1);
        });
        auto second = queue.add([&] {
            const std::lock_guard lock(mutex);
            ran.push_back(2);
        });
        auto third = queue.add([&] {
            const std::lock_guard lock(mutex);
            ran.push_back(3);
        });
        firstStarted.get_future().wait();
        EXPECT_FALSE(first->withdraw()); // running
        EXPECT_TRUE(second->withdraw());
        EXPECT_TRUE(second->withdraw()); // and stays taken back
        release.set_value();
        third->wait();
        first->wait();
        EXPECT_FALSE(third->withdraw()); // done
    }
    EXPECT_EQ(ran, (std::vector<int>{1, 3}));

    // With more threads, pieces run side by side: each waits for the other to start.
    BackgroundQueue wide(2);
    std::promise<void> a, b;
    auto left = wide.add([&] {
        a.set_value();
        b.get_future().wait();
    });
    auto right = wide.add([&] {
        b.set_value();
        a.get_future().wait();
    });
    left->wait();
    right->wait();
}
