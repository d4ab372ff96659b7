#include "shell/common/SerialWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

using zir::shell::SerialWorker;

TEST(SerialWorker, RunsTasksInOrderOnOneThreadOtherThanTheCaller) {
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    {
        SerialWorker worker;
        for (int i = 0; i < 50; ++i)
            worker.Post([&, i] {
                order.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
        worker.WaitUntilIdle();
        ASSERT_EQ(order.size(), 50u);
    }
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
    for (auto id : threads) {
        EXPECT_EQ(id, threads.front());
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

TEST(SerialWorker, PostingNeverWaitsForASlowTask) {
    SerialWorker worker;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    worker.Post([released] { released.wait(); });
    // Were a post to wait for the task before it, these would never return: it waits for the
    // release below.
    std::atomic<int> ran{0};
    for (int i = 0; i < 100; ++i)
        worker.Post([&] { ++ran; });
    EXPECT_EQ(ran.load(), 0); // still behind the slow task
    release.set_value();
    worker.WaitUntilIdle();
    EXPECT_EQ(ran.load(), 100);
}

TEST(SerialWorker, AFailingTaskDoesNotStopTheLaterOnes) {
    SerialWorker worker;
    bool later = false;
    worker.Post([] { throw std::runtime_error("stop failed"); });
    worker.Post([&] { later = true; });
    worker.WaitUntilIdle();
    EXPECT_TRUE(later);
}

TEST(SerialWorker, DestructionRunsWhatIsStillQueued) {
    std::atomic<int> ran{0};
    {
        SerialWorker worker;
        worker.Post([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ++ran;
        });
        worker.Post([&] { ++ran; });
    }
    EXPECT_EQ(ran.load(), 2);
}
