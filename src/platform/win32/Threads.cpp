#include "platform/Threads.h"

#include <memory>
#include <windows.h>

namespace zir::platform {

namespace {

DWORD WINAPI ThreadEntry(LPVOID parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}

} // namespace

bool StartDetachedThread(std::size_t stackSize, std::function<void()> body) {
    auto* parameter = new std::function<void()>(std::move(body));
    HANDLE thread = CreateThread(nullptr, stackSize, ThreadEntry, parameter,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) {
        delete parameter;
        return false;
    }
    CloseHandle(thread);
    return true;
}

} // namespace zir::platform
