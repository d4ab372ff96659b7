// The tray program's service commands off the UI thread, against the real service on a free
// loopback port and a reader whose UID read takes its time. The test's own thread plays the UI
// thread: it runs what the worker reports through the worker-to-UI queue.

#include "shell/common/ServiceControl.h"

#include "config/ConfigHelper.h"
#include "core/CardService.h"
#include "core/ServiceLog.h"
#include "shell/common/UiTaskQueue.h"

#include "support/RawHttpClient.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedVendor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

using zir::config::TConfigHelper;
using zir::shell::ServiceControl;
using zir::shell::TServiceButtons;

namespace {

// The UI thread's side: the queue's wake-up only notes that there is work; Drain runs it.
class FakeUiThread {
  public:
    bool Push(std::function<void()> task) { return queue_.Push(std::move(task)); }
    // Runs the reports as they come until done() holds (or a generous limit passes).
    template <typename Done> bool DrainUntil(Done done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!done()) {
            {
                std::unique_lock lock(mutex_);
                if (!wake_.wait_until(lock, limit, [this] { return woken_; }))
                    return false;
                woken_ = false;
            }
            queue_.RunQueued();
        }
        return true;
    }

  private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
    // Called under the queue's lock; Drain never holds its own lock while it uses the queue.
    zir::shell::UiTaskQueue queue_{[this] {
        std::lock_guard lock(mutex_);
        woken_ = true;
        wake_.notify_all();
        return true;
    }};
};

class ServiceControlTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.UseFile(dir.File("zir.INI"));
        zir::test::WriteFileBytes(dir.File("zir.INI"),
                                  "WebPort=" + std::to_string(port) +
                                      "\r\nWebType=0\r\nWebCache=0\r\nWebSound=1\r\n");
        ASSERT_TRUE(TConfigHelper::LoadConfig());
    }

    // A UID request that stays inside the reader for delayMs, from a thread of its own.
    std::thread RequestInFlight(int delayMs) {
        reader.UidDelayMs = delayMs;
        std::thread request([this] {
            zir::test::RawHttpClient client(port);
            client.Send(zir::test::GetRequest("/?type=UID"));
            client.ReadResponse();
        });
        while (!reader.UidInside)
            std::this_thread::yield();
        return request;
    }

    // Before the service, which waits for its handlers when it goes.
    zir::test::ScopedSettings settings;
    zir::test::ScriptedVendor reader;
    zir::test::TempDir dir;
    int port = zir::test::FreeLoopbackPort();
    zir::core::CardService service{reader.Cards()};
    FakeUiThread ui;
    int changes = 0;
    ServiceControl control{service, [this](auto task) { return ui.Push(std::move(task)); },
                           [this] { ++changes; }};
};

} // namespace

TEST_F(ServiceControlTest, TheButtonsFollowTheServiceAndBothWaitWhileACommandRuns) {
    EXPECT_EQ(control.Buttons(), (TServiceButtons{true, false})); // the window's first layout
    ASSERT_TRUE(control.StartAtLaunch());
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, true}));

    control.Stop();
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, false}));
    ASSERT_TRUE(ui.DrainUntil([&] { return control.Buttons() != TServiceButtons{}; }));
    EXPECT_EQ(control.Buttons(), (TServiceButtons{true, false}));
    EXPECT_FALSE(zir::test::RawHttpClient::CanConnect(port, "127.0.0.1"));

    control.Start();
    ASSERT_TRUE(ui.DrainUntil([&] { return control.Buttons() != TServiceButtons{}; }));
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, true}));
    EXPECT_TRUE(zir::test::RawHttpClient::CanConnect(port, "127.0.0.1"));
    EXPECT_GT(changes, 0);
}

TEST_F(ServiceControlTest, AStopThatWaitsForABusyHandlerLeavesTheUiThreadFree) {
    ASSERT_TRUE(control.StartAtLaunch());
    std::thread request = RequestInFlight(1500);
    control.Stop();
    // Back at once: the handler is still inside the reader, and the window may paint.
    EXPECT_TRUE(reader.UidInside.load());
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, false}));
    ASSERT_TRUE(ui.DrainUntil([&] { return control.Buttons() != TServiceButtons{}; }));
    EXPECT_FALSE(reader.UidInside.load());
    EXPECT_EQ(control.Buttons(), (TServiceButtons{true, false}));
    request.join();
}

TEST_F(ServiceControlTest, TheEndStopsAfterWhatWasPostedAndNothingRunsAfterIt) {
    ASSERT_TRUE(control.StartAtLaunch());
    std::thread request = RequestInFlight(500);
    control.Stop();
    control.Start();
    bool ended = false;
    control.End([&] { ended = true; });
    control.Start(); // ignored: the program is ending
    EXPECT_TRUE(control.Ending());
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, false}));
    ASSERT_TRUE(ui.DrainUntil([&] { return ended; }));
    EXPECT_FALSE(service.Running());
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, false}));
    request.join();
}

TEST_F(ServiceControlTest, TheEndOfTheSessionWaitsForTheStopItselfWithinItsLimit) {
    ASSERT_TRUE(control.StartAtLaunch());
    std::thread request = RequestInFlight(500);
    EXPECT_TRUE(control.EndNow(std::chrono::seconds(20)));
    EXPECT_FALSE(service.Running());
    EXPECT_FALSE(reader.UidInside.load());
    request.join();
}

TEST_F(ServiceControlTest, TheEndOfTheSessionGivesUpOnAHandlerStuckInTheReader) {
    ASSERT_TRUE(control.StartAtLaunch());
    std::thread request = RequestInFlight(6500); // past the stop's 5 s wait for handlers
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(control.EndNow(std::chrono::milliseconds(300)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_TRUE(reader.UidInside.load());
    // The stop goes on behind it and succeeds once the handler is out of the reader.
    EXPECT_TRUE(control.EndNow(std::chrono::seconds(30)));
    EXPECT_FALSE(service.Running());
    request.join();
}

TEST_F(ServiceControlTest, ACommandThatThrowsReportsBackAndLogsWhy) {
    std::vector<std::string> lines;
    std::mutex linesMutex;
    zir::core::SetServiceLogSink([&](const std::string& line) {
        std::lock_guard lock(linesMutex);
        lines.push_back(line);
    });
    ASSERT_TRUE(control.StartAtLaunch());
    reader.BeepThrows = true;
    control.ApplySettings();
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, false}));
    ASSERT_TRUE(ui.DrainUntil([&] { return control.Buttons() != TServiceButtons{}; }));
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, true}));
    // The stop still works afterwards.
    reader.BeepThrows = false;
    control.Stop();
    ASSERT_TRUE(ui.DrainUntil([&] { return control.Buttons() != TServiceButtons{}; }));
    EXPECT_EQ(control.Buttons(), (TServiceButtons{true, false}));
    zir::core::SetServiceLogSink(nullptr);
    bool logged = false;
    for (const std::string& line : lines)
        logged = logged || line.starts_with("==SETTINGS APPLY FAIL...");
    EXPECT_TRUE(logged);
}

TEST_F(ServiceControlTest, AFailedStartIsHandedOverAndASuccessfulOneClearsIt) {
    zir::core::CardService holder{reader.Cards()}; // another program on the port
    ASSERT_TRUE(holder.btnStartServerClick());
    EXPECT_FALSE(control.StartAtLaunch());
    EXPECT_TRUE(control.StartFailure().Failed);
    EXPECT_TRUE(control.StartFailure().PortTaken);
    EXPECT_EQ(control.StartFailure().Address, "127.0.0.1:" + std::to_string(port));

    ASSERT_TRUE(holder.btnStopServerClick());
    control.Start();
    ASSERT_TRUE(ui.DrainUntil([&] { return control.Buttons() != TServiceButtons{}; }));
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, true}));
    EXPECT_FALSE(control.StartFailure().Failed);
}

TEST_F(ServiceControlTest, AReloadReportsItsOutcomeAndMovesToANewPort) {
    ASSERT_TRUE(control.StartAtLaunch());
    const int second = zir::test::FreeLoopbackPort();
    zir::test::WriteFileBytes(dir.File("zir.INI"),
                              "WebPort=" + std::to_string(second) +
                                  "\r\nWebType=1\r\nWebCache=0\r\nWebSound=0\r\n");
    std::optional<zir::shell::TReloadOutcome> outcome;
    control.Reload([&](zir::shell::TReloadOutcome o) { outcome = o; });
    ASSERT_TRUE(ui.DrainUntil([&] { return outcome.has_value(); }));
    EXPECT_EQ(*outcome, zir::shell::TReloadOutcome::Reloaded);
    EXPECT_EQ(control.Buttons(), (TServiceButtons{false, true}));
    EXPECT_TRUE(zir::test::RawHttpClient::CanConnect(second, "127.0.0.1"));
    EXPECT_FALSE(zir::test::RawHttpClient::CanConnect(port, "127.0.0.1"));
}
