#pragma once

#include <functional>
#include <memory>
#include <mutex>

namespace zir::platform {

// A process-wide callback that the shell installs and any thread calls. The caller takes its own
// reference and calls outside the lock, so a slow handler never holds up the other callers and a
// handler replaced meanwhile stays alive until its call returns.
template <typename Signature> class HandlerSeam {
  public:
    using Handler = std::function<Signature>;

    void Set(Handler handler) {
        auto next = handler ? std::make_shared<const Handler>(std::move(handler)) : nullptr;
        std::lock_guard lock(mutex_);
        handler_ = std::move(next);
    }

    // Null when no handler is installed.
    std::shared_ptr<const Handler> Get() const {
        std::lock_guard lock(mutex_);
        return handler_;
    }

  private:
    mutable std::mutex mutex_;
    std::shared_ptr<const Handler> handler_;
};

} // namespace zir::platform
