#include "platform/SingleInstance.h"

#include <windows.h>

namespace zir::platform {

struct SingleInstance::State {
    HANDLE mutex = nullptr;
};

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const std::string&) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Tarvo");
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return nullptr;
    }
    std::unique_ptr<SingleInstance> instance(new SingleInstance);
    instance->state_ = std::make_unique<State>();
    instance->state_->mutex = mutex;
    return instance;
}

SingleInstance::~SingleInstance() {
    if (state_ && state_->mutex)
        CloseHandle(state_->mutex);
}

std::optional<long> SingleInstance::RunningProcessId(const std::string&) {
    return std::nullopt;
}

bool SingleInstance::IsHeld(const std::string&) {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Tarvo");
    if (mutex == nullptr)
        return false;
    CloseHandle(mutex);
    return true;
}

} // namespace zir::platform
