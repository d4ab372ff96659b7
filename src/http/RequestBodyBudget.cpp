#include "http/RequestBodyBudget.h"

#include <utility>

namespace zir::http {

bool RequestBodyBudget::Reserve(std::size_t bytes, Reservation& reservation) {
    std::shared_ptr<RequestBodyBudget> self = shared_from_this();
    std::size_t used = inUse_.load();
    do {
        if (bytes > limit_ || used > limit_ - bytes) {
            return false;
        }
    } while (!inUse_.compare_exchange_weak(used, used + bytes));
    reservation = Reservation(std::move(self), bytes);
    return true;
}

RequestBodyBudget::Reservation::Reservation(Reservation&& other) noexcept
    : budget_(std::move(other.budget_)), bytes_(std::exchange(other.bytes_, 0)) {}

RequestBodyBudget::Reservation&
RequestBodyBudget::Reservation::operator=(Reservation&& other) noexcept {
    if (this != &other) {
        Release();
        budget_ = std::move(other.budget_);
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

RequestBodyBudget::Reservation::~Reservation() {
    Release();
}

void RequestBodyBudget::Reservation::Release() noexcept {
    if (budget_) {
        budget_->inUse_.fetch_sub(bytes_);
        budget_.reset();
    }
    bytes_ = 0;
}

} // namespace zir::http
