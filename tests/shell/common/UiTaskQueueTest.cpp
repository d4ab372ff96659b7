#include "shell/common/UiTaskQueue.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using zir::shell::UiTaskQueue;

TEST(UiTaskQueue, OneWakeUpUntilTheUiThreadRunsEverythingInOrder) {
    int posts = 0;
    UiTaskQueue queue([&] { return ++posts, true; });
    std::vector<int> ran;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(queue.Push([&ran, i] { ran.push_back(i); }));
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(queue.RunQueued(), 3u);
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(queue.RunQueued(), 0u); // a late message finds nothing

    queue.Push([] {});
    EXPECT_EQ(posts, 2);
}

TEST(UiTaskQueue, ATaskPushedWhileTheBatchRunsWaitsForItsOwnWakeUp) {
    int posts = 0;
    UiTaskQueue queue([&] { return ++posts, true; });
    bool second = false;
    queue.Push([&] { queue.Push([&] { second = true; }); });
    EXPECT_EQ(queue.RunQueued(), 1u);
    EXPECT_FALSE(second);
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(queue.RunQueued(), 1u);
    EXPECT_TRUE(second);
}

TEST(UiTaskQueue, AWakeUpThatCouldNotBePostedIsTriedAgain) {
    std::vector<bool> answers{false, true};
    size_t attempts = 0;
    UiTaskQueue queue([&] { return answers[std::min(attempts++, answers.size() - 1)]; });
    queue.Push([] {});
    queue.Push([] {});
    queue.Push([] {});
    EXPECT_EQ(attempts, 2u); // the failed post, then one that reached the window
    EXPECT_EQ(queue.RunQueued(), 3u);
}

TEST(UiTaskQueue, ATaskThatThrowsDoesNotStopTheOthers) {
    UiTaskQueue queue([] { return true; });
    int ran = 0;
    queue.Push([&] { ++ran; });
    queue.Push([] { throw std::runtime_error("task"); });
    queue.Push([&] { ++ran; });
    EXPECT_THROW(queue.RunQueued(), std::runtime_error);
    EXPECT_EQ(ran, 2);
}

TEST(UiTaskQueue, AfterTheWindowIsGonePushesAreDroppedAndNothingIsPosted) {
    int posts = 0;
    UiTaskQueue queue([&] { return ++posts, true; });
    bool ran = false;
    queue.Push([&] { ran = true; });
    queue.Close();
    EXPECT_FALSE(queue.Push([&] { ran = true; }));
    EXPECT_EQ(queue.RunQueued(), 0u);
    EXPECT_FALSE(ran);
    EXPECT_EQ(posts, 1);
}

// Workers push from four threads; a fake window's message queue holds the wake-ups and a UI
// thread takes them one by one. At most one wake-up is ever waiting, and every task runs once.
TEST(UiTaskQueue, WorkersOnManyThreadsAndOneUiThread) {
    std::mutex mutex;
    std::condition_variable changed;
    int waiting = 0;
    int mostWaiting = 0;
    bool done = false;
    UiTaskQueue queue([&] {
        std::lock_guard lock(mutex);
        mostWaiting = std::max(mostWaiting, ++waiting);
        changed.notify_one();
        return true;
    });

    constexpr int kThreads = 4, kTasks = 2000;
    int ran = 0; // touched by the UI thread only
    std::thread ui([&] {
        for (;;) {
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return waiting > 0 || done; });
                if (waiting == 0 && done)
                    return;
                --waiting;
            }
            queue.RunQueued();
        }
    });
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t)
        workers.emplace_back([&] {
            for (int i = 0; i < kTasks; ++i)
                queue.Push([&] { ++ran; });
        });
    for (auto& worker : workers)
        worker.join();
    // One last wake-up after every push, so the UI thread takes what is left and ends.
    queue.Push([] {});
    {
        std::lock_guard lock(mutex);
        done = true;
        changed.notify_one();
    }
    ui.join();
    queue.RunQueued(); // whatever the last message had not taken yet
    EXPECT_EQ(ran, kThreads * kTasks);
    EXPECT_EQ(mostWaiting, 1);
}
