// The one watcher behind the event streams, with a scripted reader in place of the real one.

#include "core/CardWatcher.h"
#include "core/ScriptedReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using zir::core::CardPresence;
using zir::core::CardWatcher;
using zir::test::ScriptedReader;

namespace {

constexpr auto kInterval = 10ms;

CardWatcher::Wait Next(CardWatcher::Subscription& s, CardPresence& state,
                       std::chrono::milliseconds within = 1s) {
    return s.WaitForChange(std::chrono::steady_clock::now() + within, state);
}

} // namespace

TEST(CardWatcher, ReportsTheFirstCardThenEachChangeOfCardButNotTheSameCardAgain) {
    ScriptedReader reader;
    reader.Remove();
    CardWatcher watcher([&] { return reader.Look(); }, kInterval);
    auto s = watcher.Subscribe();
    ASSERT_TRUE(s);
    CardPresence state;
    ASSERT_EQ(Next(*s, state), CardWatcher::Wait::Changed);
    EXPECT_FALSE(state.Present);
    EXPECT_EQ(state.Failure, "no card");

    reader.Place("A1");
    ASSERT_EQ(Next(*s, state), CardWatcher::Wait::Changed);
    EXPECT_TRUE(state.Present);
    EXPECT_EQ(state.UidDocument, "{\"uid\":\"A1\"}");
    // Lying still is no event; another card is, without a removal between.
    EXPECT_EQ(Next(*s, state, 100ms), CardWatcher::Wait::TimedOut);
    reader.Place("B2");
    ASSERT_EQ(Next(*s, state), CardWatcher::Wait::Changed);
    EXPECT_EQ(state.Uid, "B2");
    reader.Remove();
    ASSERT_EQ(Next(*s, state), CardWatcher::Wait::Changed);
    EXPECT_FALSE(state.Present);
}

TEST(CardWatcher, AFailingLookMeansNoCardAndTheWatcherGoesOn) {
    ScriptedReader reader;
    reader.Place("A1");
    CardWatcher watcher([&] { return reader.Look(); }, kInterval);
    auto s = watcher.Subscribe();
    CardPresence state;
    ASSERT_EQ(Next(*s, state), CardWatcher::Wait::Changed);
    reader.Throw(true);
    ASSERT_EQ(Next(*s, state), CardWatcher::Wait::Changed);
    EXPECT_FALSE(state.Present);
    EXPECT_EQ(state.Failure, "reader gone");
    reader.Throw(false);
    ASSERT_EQ(Next(*s, state), CardWatcher::Wait::Changed);
    EXPECT_EQ(state.Uid, "A1");
}

TEST(CardWatcher, LooksOnlyWhileSubscribedAndOnceForAllSubscribers) {
    ScriptedReader reader;
    reader.Place("A1");
    CardWatcher watcher([&] { return reader.Look(); }, kInterval);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(reader.Calls(), 0);
    {
        std::vector<CardWatcher::Subscription> many;
        for (int i = 0; i < 8; ++i)
            many.push_back(*watcher.Subscribe());
        CardPresence state;
        ASSERT_EQ(Next(many[0], state), CardWatcher::Wait::Changed);
        const int before = reader.Calls();
        std::this_thread::sleep_for(200ms);
        // One look per interval at most, not one per subscriber.
        EXPECT_LE(reader.Calls() - before, 200 / 10 + 2);
    }
    std::this_thread::sleep_for(50ms); // a look in progress ends
    const int parked = reader.Calls();
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(reader.Calls(), parked);
    EXPECT_EQ(reader.Overlaps(), 0);

    // What the watcher knew before it parked is not served as the present card.
    reader.Place("C3");
    auto again = watcher.Subscribe();
    CardPresence state;
    ASSERT_EQ(Next(*again, state), CardWatcher::Wait::Changed);
    EXPECT_EQ(state.Uid, "C3");
}

TEST(CardWatcher, RefusesBeyondItsLimitAndClosingEndsWaitsAtOnce) {
    ScriptedReader reader;
    reader.Remove();
    CardWatcher watcher([&] { return reader.Look(); }, kInterval, 2);
    auto first = watcher.Subscribe();
    auto second = watcher.Subscribe();
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(watcher.Subscribe());
    second.reset();
    second = watcher.Subscribe();
    ASSERT_TRUE(second);
    EXPECT_EQ(watcher.Subscribers(), 2u);

    CardPresence state;
    ASSERT_EQ(Next(*first, state), CardWatcher::Wait::Changed);
    std::atomic<bool> closed{false};
    std::thread waiter([&] {
        CardPresence s;
        closed = first->WaitForChange(std::chrono::steady_clock::now() + 10s, s) ==
                 CardWatcher::Wait::Closed;
    });
    std::this_thread::sleep_for(50ms);
    const auto start = std::chrono::steady_clock::now();
    watcher.Close();
    waiter.join();
    EXPECT_TRUE(closed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
    first.reset();
    second.reset();
    EXPECT_FALSE(watcher.Subscribe());
    watcher.Open();
    EXPECT_TRUE(watcher.Subscribe());
}

TEST(CardWatcher, ANewSubscriptionStartsWithALookMadeAfterItNotAnOldOne) {
    ScriptedReader reader;
    reader.Place("A1");
    // A long pause between looks: what the watcher saw last is old by the time a stream comes.
    CardWatcher watcher([&] { return reader.Look(); }, 2s);
    auto first = watcher.Subscribe();
    CardPresence state;
    ASSERT_EQ(Next(*first, state), CardWatcher::Wait::Changed);
    ASSERT_TRUE(state.Present);

    reader.Remove();
    auto second = watcher.Subscribe();
    CardPresence fresh;
    // Not "A1": that card has gone. And not a pause's length later: the look is made at once.
    ASSERT_EQ(Next(*second, fresh, 1s), CardWatcher::Wait::Changed);
    EXPECT_FALSE(fresh.Present);
    // The stream that was there hears of the removal from the same look.
    ASSERT_EQ(Next(*first, state, 100ms), CardWatcher::Wait::Changed);
    EXPECT_FALSE(state.Present);

    // The card lying still: a new stream is still told at once, from its own look.
    reader.Place("B2");
    auto third = watcher.Subscribe();
    ASSERT_EQ(Next(*third, fresh, 1s), CardWatcher::Wait::Changed);
    EXPECT_EQ(fresh.Uid, "B2");
    const int looks = reader.Calls();
    auto fourth = watcher.Subscribe();
    ASSERT_EQ(Next(*fourth, fresh, 1s), CardWatcher::Wait::Changed);
    EXPECT_EQ(fresh.Uid, "B2");
    EXPECT_EQ(reader.Calls(), looks + 1);
}
