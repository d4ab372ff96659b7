#pragma once

// A COM interface pointer that is released when it goes out of scope: for the Windows code of
// the platform and of the Windows program.

namespace zir::platform {

template <typename Interface> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* operator->() const { return p_; }
    Interface* Get() const { return p_; }
    // For the calls that hand out an interface.
    Interface** Out() { return &p_; }
    void** OutVoid() { return reinterpret_cast<void**>(&p_); }

  private:
    Interface* p_ = nullptr;
};

} // namespace zir::platform
