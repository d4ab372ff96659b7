#pragma once

// The one watcher behind every event stream: a thread that looks at the reader's UID every
// poll interval while at least one stream is subscribed, and parks (no reader call) while none
// is. Streams wait for its changes; the stop of the service closes it, which ends their waits.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace zir::core {

class TCardOperations;

// What one look at the reader found.
struct CardPresence {
    bool Present = false;
    std::string Uid;         // as the reader delivered it; what tells one card from another
    std::string UidDocument; // the ?type=UID answer, when Present
    std::string Failure;     // the reader's reason, when not Present

    // The same card, or no card both times: no event.
    bool SameCard(const CardPresence& other) const {
        return Present == other.Present && (!Present || Uid == other.Uid);
    }
};

// One UID read under the card-operation lock. A failed read means no card: a reader reports
// "no card" the same way as any other trouble with the card, and a stream can only say that
// there is no card to read. The watcher logs each new reason once.
CardPresence PollReaderUid(TCardOperations& cards);

class CardWatcher {
  public:
    using Poll = std::function<CardPresence()>;

    static constexpr std::chrono::milliseconds kPollInterval{250};
    static constexpr std::size_t kMaxSubscribers = 32;

    explicit CardWatcher(Poll poll, std::chrono::milliseconds interval = kPollInterval,
                         std::size_t maxSubscribers = kMaxSubscribers);
    // Ends the thread (after a poll in progress).
    ~CardWatcher();
    CardWatcher(const CardWatcher&) = delete;
    CardWatcher& operator=(const CardWatcher&) = delete;

    enum class Wait { Changed, TimedOut, Closed };

    // One stream's place: while it lives the reader is watched. Move-only.
    class Subscription {
      public:
        Subscription(Subscription&& other) noexcept;
        Subscription& operator=(Subscription&& other) noexcept;
        ~Subscription();

        // Waits until the card differs from the one this subscription was last given (the
        // first call: until a look that began after the subscription was made, so that a new
        // stream never starts with a card that has gone), until `until`, or until the watcher
        // is closed. On Changed, state is the card now on the reader. Changes that come and go
        // between two calls are not replayed: a slow stream gets the newest card.
        Wait WaitForChange(std::chrono::steady_clock::time_point until, CardPresence& state);

      private:
        friend class CardWatcher;
        explicit Subscription(CardWatcher& watcher) : watcher_(&watcher) {}
        CardWatcher* watcher_;
        std::uint64_t seenVersion_ = 0;
        std::uint64_t firstLook_ = 0; // the first look whose card this subscription may be given
    };

    // Nullopt when maxSubscribers are open or the watcher is closed.
    std::optional<Subscription> Subscribe();
    std::size_t Subscribers() const;

    // Closed: every wait ends with Closed and no subscription is given until Open.
    void Close();
    void Open();

  private:
    void Run();
    void Release();

    const Poll poll_;
    const std::chrono::milliseconds interval_;
    const std::size_t maxSubscribers_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;    // the thread: a first subscriber, or the end
    std::condition_variable changed_; // the streams: a new card state, or closing
    std::size_t subscribers_ = 0;
    bool closed_ = false;
    bool ending_ = false;
    // Version 0: the card is not known yet (no poll since the thread last parked).
    std::uint64_t version_ = 0;
    CardPresence state_;
    std::uint64_t looksStarted_ = 0; // counts the looks begun
    std::uint64_t stateLook_ = 0;    // the look state_ comes from
    bool lookWanted_ = false;        // a new subscription waits for a look: no pause before it
    std::thread thread_;
};

} // namespace zir::core
