#include "http/TIdIOHandlerMemory.h"

#include <algorithm>
#include <cstring>

#include "http/EIdException.h"

namespace zir::http {

TIdIOHandlerMemory::TIdIOHandlerMemory(std::string input, std::size_t chunkSize)
    : input_(std::move(input)), chunkSize_(chunkSize == 0 ? 1 : chunkSize) {}

std::size_t TIdIOHandlerMemory::Receive(char* buffer, std::size_t size) {
    if (closed_) {
        throw EIdClosedSocket();
    }
    std::size_t count = std::min({size, chunkSize_, input_.size() - position_});
    if (count > 0) {
        std::memcpy(buffer, input_.data() + position_, count);
    }
    position_ += count;
    return count;
}

std::size_t TIdIOHandlerMemory::Send(const char* data, std::size_t size, bool moreFollows) {
    if (closed_) {
        throw EIdClosedSocket();
    }
    output_.append(data, size);
    ++sendCalls_;
    moreFollowsSends_ += moreFollows ? 1 : 0;
    return size;
}

} // namespace zir::http
