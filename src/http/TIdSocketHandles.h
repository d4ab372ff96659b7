#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "http/TIdSocketHandle.h"

namespace zir::http {

// The server's Bindings: an ordered list whose entries keep their address while listed.
class TIdSocketHandles {
  public:
    explicit TIdSocketHandles(const std::int32_t& defaultPort) : defaultPort_(defaultPort) {}

    void Clear() { items_.clear(); }
    // A new binding whose Port is the server's DefaultPort at this moment.
    TIdSocketHandle& Add();
    std::size_t Count() const { return items_.size(); }
    TIdSocketHandle& operator[](std::size_t index) { return *items_[index]; }
    const TIdSocketHandle& operator[](std::size_t index) const { return *items_[index]; }

  private:
    const std::int32_t& defaultPort_;
    std::vector<std::unique_ptr<TIdSocketHandle>> items_;
};

} // namespace zir::http
