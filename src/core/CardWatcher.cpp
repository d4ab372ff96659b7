#include "core/CardWatcher.h"

#include "core/CardLock.h"
#include "core/CardOperations.h"
#include "core/CardRequest.h"
#include "core/LogFormat.h"
#include "core/ServiceLog.h"
#include "core/TIdCardRec.h"

#include <exception>
#include <utility>

namespace zir::core {

CardPresence PollReaderUid(TCardOperations& cards) {
    TIdCardRec rec;
    bool ok;
    {
        auto lock = LockCardOperation();
        ok = cards.ReadUid(lock, rec);
    }
    CardPresence presence;
    presence.Present = ok;
    if (ok) {
        presence.Uid = rec.Uid;
        presence.UidDocument = UidDocument(rec);
    } else {
        presence.Failure = rec.ErrorMsg;
    }
    return presence;
}

CardWatcher::CardWatcher(Poll poll, std::chrono::milliseconds interval, std::size_t maxSubscribers)
    : poll_(std::move(poll)), interval_(interval), maxSubscribers_(maxSubscribers) {}

CardWatcher::~CardWatcher() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        ending_ = true;
        closed_ = true;
    }
    wake_.notify_all();
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

std::optional<CardWatcher::Subscription> CardWatcher::Subscribe() {
    std::uint64_t firstLook = 0;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (closed_ || subscribers_ >= maxSubscribers_)
            return std::nullopt;
        // Started with the first stream ever, so that a service nobody watches has no thread.
        if (!thread_.joinable()) {
            try {
                thread_ = std::thread([this] { Run(); });
            } catch (...) {
                return std::nullopt; // no thread to be had: refused like a full house
            }
        }
        ++subscribers_;
        lookWanted_ = true;
        firstLook = looksStarted_ + 1;
    }
    wake_.notify_all();
    Subscription subscription(*this);
    subscription.firstLook_ = firstLook;
    return subscription;
}

std::size_t CardWatcher::Subscribers() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return subscribers_;
}

void CardWatcher::Close() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

void CardWatcher::Open() {
    std::lock_guard<std::mutex> guard(mutex_);
    closed_ = ending_;
}

void CardWatcher::Release() {
    std::lock_guard<std::mutex> guard(mutex_);
    --subscribers_;
    if (subscribers_ == 0)
        wake_.notify_all(); // cuts the wait short: the thread parks at once
}

void CardWatcher::Run() {
    std::string loggedFailure;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return ending_ || subscribers_ > 0; });
        if (ending_)
            return;
        const std::uint64_t look = ++looksStarted_;
        lookWanted_ = false;
        lock.unlock();
        CardPresence presence;
        try {
            presence = poll_();
        } catch (const std::exception& error) {
            presence = CardPresence{};
            presence.Failure = error.what();
        }
        // The log hears each new reason once, not four times a second nor at every removal.
        if (!presence.Present && presence.Failure != loggedFailure) {
            LogServiceLine(FormatLogLine("##EVENTS NO CARD --> %s", {presence.Failure}));
            loggedFailure = presence.Failure;
        }
        lock.lock();
        stateLook_ = look;
        if (version_ == 0 || !presence.SameCard(state_)) {
            state_ = std::move(presence);
            ++version_;
        }
        // Also without a change: a new stream waits for this look.
        changed_.notify_all();
        wake_.wait_for(lock, interval_,
                       [this] { return ending_ || subscribers_ == 0 || lookWanted_; });
        if (subscribers_ == 0) {
            // Parked, the card is unknown: the next first stream waits for a fresh look.
            version_ = 0;
            loggedFailure.clear();
        }
    }
}

CardWatcher::Subscription::Subscription(Subscription&& other) noexcept
    : watcher_(std::exchange(other.watcher_, nullptr)), seenVersion_(other.seenVersion_),
      firstLook_(other.firstLook_) {}

CardWatcher::Subscription& CardWatcher::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        if (watcher_)
            watcher_->Release();
        watcher_ = std::exchange(other.watcher_, nullptr);
        seenVersion_ = other.seenVersion_;
        firstLook_ = other.firstLook_;
    }
    return *this;
}

CardWatcher::Subscription::~Subscription() {
    if (watcher_)
        watcher_->Release();
}

CardWatcher::Wait
CardWatcher::Subscription::WaitForChange(std::chrono::steady_clock::time_point until,
                                         CardPresence& state) {
    CardWatcher& w = *watcher_;
    std::unique_lock<std::mutex> lock(w.mutex_);
    for (;;) {
        if (w.closed_)
            return Wait::Closed;
        // The first state given is one looked at after the subscription was made.
        const bool first = seenVersion_ == 0;
        if (w.version_ != 0 && w.version_ != seenVersion_ &&
            (!first || w.stateLook_ >= firstLook_)) {
            // A version seen before parking may come again after it; the card decides.
            seenVersion_ = w.version_;
            if (first || !w.state_.SameCard(state)) {
                state = w.state_;
                return Wait::Changed;
            }
            continue;
        }
        if (w.changed_.wait_until(lock, until) == std::cv_status::timeout)
            return w.closed_ ? Wait::Closed : Wait::TimedOut;
    }
}

} // namespace zir::core
