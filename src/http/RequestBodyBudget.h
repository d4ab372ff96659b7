#pragma once

// The memory that request bodies in flight may hold together, shared by every connection of a
// server: a thousand clients each sending the largest accepted body must not take more address
// space than a 32-bit program has. A request whose body does not fit is refused, not queued.

#include <atomic>
#include <cstddef>
#include <memory>

namespace zir::http {

class RequestBodyBudget : public std::enable_shared_from_this<RequestBodyBudget> {
  public:
    explicit RequestBodyBudget(std::size_t limitBytes) : limit_(limitBytes) {}

    // Bytes held by a request until it is discarded.
    class Reservation {
      public:
        Reservation() = default;
        Reservation(Reservation&& other) noexcept;
        Reservation& operator=(Reservation&& other) noexcept;
        ~Reservation();
        Reservation(const Reservation&) = delete;
        Reservation& operator=(const Reservation&) = delete;
        std::size_t Bytes() const { return bytes_; }

      private:
        friend class RequestBodyBudget;
        Reservation(std::shared_ptr<RequestBodyBudget> budget, std::size_t bytes)
            : budget_(std::move(budget)), bytes_(bytes) {}
        void Release() noexcept;

        std::shared_ptr<RequestBodyBudget> budget_;
        std::size_t bytes_ = 0;
    };

    // Takes bytes from the budget; false (and nothing taken) when they do not fit.
    bool Reserve(std::size_t bytes, Reservation& reservation);

    std::size_t Limit() const { return limit_; }
    std::size_t InUse() const { return inUse_.load(); }

  private:
    const std::size_t limit_;
    std::atomic<std::size_t> inUse_{0};
};

} // namespace zir::http
