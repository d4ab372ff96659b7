#include "http/TIdSocketHandles.h"

namespace zir::http {

TIdSocketHandle& TIdSocketHandles::Add() {
    auto binding = std::make_unique<TIdSocketHandle>();
    binding->Port = defaultPort_;
    items_.push_back(std::move(binding));
    return *items_.back();
}

} // namespace zir::http
