// The log writer against an output that the test stalls and releases at will.

#include "shell/common/LogLineWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

using zir::shell::LogLineWriter;
using namespace std::chrono_literals;

namespace {

// An output whose reader can stop reading: while stalled, a write blocks until released.
class GatedOutput {
  public:
    LogLineWriter::Output Function() {
        return [this](std::string_view bytes) {
            std::unique_lock lock(mutex_);
            ++writesStarted_;
            changed_.notify_all();
            changed_.wait(lock, [this] { return !stalled_; });
            text_.append(bytes);
            changed_.notify_all();
            return alive_;
        };
    }
    void Stall() {
        std::lock_guard lock(mutex_);
        stalled_ = true;
    }
    void Release() {
        std::lock_guard lock(mutex_);
        stalled_ = false;
        changed_.notify_all();
    }
    void Close() {
        std::lock_guard lock(mutex_);
        alive_ = false;
    }
    // Waits until a write has started (the writer thread is inside the output).
    bool WaitForWrite(int count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] { return writesStarted_ >= count; });
    }
    bool WaitForText(const std::string& ending) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] {
            return text_.size() >= ending.size() &&
                   text_.compare(text_.size() - ending.size(), ending.size(), ending) == 0;
        });
    }
    std::string Text() {
        std::lock_guard lock(mutex_);
        return text_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stalled_ = false;
    bool alive_ = true;
    int writesStarted_ = 0;
    std::string text_;
};

std::string Lines(int from, int to) {
    std::string text;
    for (int i = from; i < to; ++i)
        text += "line " + std::to_string(i) + "\n";
    return text;
}

} // namespace

TEST(LogLineWriter, WritesWholeLinesInOrderAndAStopWritesEverythingQueued) {
    GatedOutput output;
    LogLineWriter writer(output.Function());
    for (int i = 0; i < 1000; ++i)
        writer.Write("line " + std::to_string(i));
    writer.Stop();
    EXPECT_EQ(output.Text(), Lines(0, 1000));
    EXPECT_EQ(writer.DroppedLines(), 0u);
    writer.Write("after the stop");
    writer.Stop();
    EXPECT_EQ(output.Text(), Lines(0, 1000));
}

TEST(LogLineWriter, EachLineReachesTheOutputWithoutWaitingForMore) {
    GatedOutput output;
    LogLineWriter writer(output.Function());
    writer.Write("first");
    EXPECT_TRUE(output.WaitForText("first\n"));
    writer.Write("second");
    EXPECT_TRUE(output.WaitForText("first\nsecond\n"));
}

TEST(LogLineWriter, AStalledOutputNeverHoldsUpWritersAndTheGapIsCountedWhereItIs) {
    GatedOutput output;
    LogLineWriter writer(output.Function(), {.MaxLines = 10, .MaxBytes = 1 << 20});
    output.Stall();
    writer.Write("line 0");
    ASSERT_TRUE(output.WaitForWrite(1)); // the writer thread is blocked inside the output

    auto start = std::chrono::steady_clock::now();
    for (int i = 1; i < 1000; ++i)
        writer.Write("line " + std::to_string(i));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(writer.DroppedLines(), 989u); // lines 1 to 10 wait, the rest is dropped

    // Once the output has caught up, the notice follows at once, where the lines are missing.
    output.Release();
    EXPECT_TRUE(output.WaitForText(Lines(0, 11) + "989 log lines dropped\n"));
    writer.Write("line 1000");
    EXPECT_TRUE(output.WaitForText(Lines(0, 11) + "989 log lines dropped\nline 1000\n"));
}

TEST(LogLineWriter, TheByteLimitDropsToo) {
    GatedOutput output;
    LogLineWriter writer(output.Function(), {.MaxLines = 1000, .MaxBytes = 25});
    output.Stall();
    writer.Write("x");
    ASSERT_TRUE(output.WaitForWrite(1));
    writer.Write(std::string(20, 'a'));
    writer.Write(std::string(10, 'b')); // 30 bytes would wait: dropped
    writer.Write(std::string(5, 'c'));
    EXPECT_EQ(writer.DroppedLines(), 1u);
    output.Release();
    writer.Stop();
    EXPECT_EQ(output.Text(), "x\n" + std::string(20, 'a') + "\n1 log lines dropped\nccccc\n");
}

TEST(LogLineWriter, LinesDroppedAtTheEndAreCountedByTheStop) {
    GatedOutput output;
    LogLineWriter writer(output.Function(), {.MaxLines = 1, .MaxBytes = 1 << 20});
    output.Stall();
    writer.Write("a");
    ASSERT_TRUE(output.WaitForWrite(1));
    writer.Write("b");
    writer.Write("c");
    writer.Write("d");
    output.Release();
    writer.Stop();
    EXPECT_EQ(output.Text(), "a\nb\n2 log lines dropped\n");
}

TEST(LogLineWriter, AStopWithAStalledOutputReturnsAfterItsWait) {
    GatedOutput output;
    auto start = std::chrono::steady_clock::now();
    {
        LogLineWriter writer(output.Function(), {.StopWait = 300ms});
        output.Stall();
        writer.Write("stuck");
        ASSERT_TRUE(output.WaitForWrite(1));
        writer.Write("queued");
        // The destructor stops: it waits its 300 ms, then leaves the writer thread behind.
    }
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 2s);
    // The thread left behind still finishes its lines once the output moves again.
    output.Release();
    EXPECT_TRUE(output.WaitForText("stuck\nqueued\n"));
}

TEST(LogLineWriter, AnOutputThatIsGoneDiscardsTheRestWithoutHanging) {
    GatedOutput output;
    output.Close();
    LogLineWriter writer(output.Function());
    writer.Write("one");
    ASSERT_TRUE(output.WaitForText("one\n"));
    writer.Write("two");
    writer.Write("three");
    writer.Stop();
    EXPECT_EQ(output.Text(), "one\n");
}
