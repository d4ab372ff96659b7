#include "platform/Threads.h"

#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <pthread.h>
#endif

namespace zir::platform {

namespace {

#ifdef _WIN32
DWORD WINAPI ThreadEntry(LPVOID parameter) {
#else
void* ThreadEntry(void* parameter) {
#endif
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
#ifdef _WIN32
    return 0;
#else
    return nullptr;
#endif
}

} // namespace

bool StartDetachedThread(std::size_t stackSize, std::function<void()> body) {
    auto* parameter = new std::function<void()>(std::move(body));
#ifdef _WIN32
    HANDLE thread = CreateThread(nullptr, stackSize, ThreadEntry, parameter,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) {
        delete parameter;
        return false;
    }
    CloseHandle(thread);
    return true;
#else
    pthread_attr_t attributes;
    if (pthread_attr_init(&attributes) != 0) {
        delete parameter;
        return false;
    }
    if (stackSize < static_cast<std::size_t>(PTHREAD_STACK_MIN)) {
        stackSize = PTHREAD_STACK_MIN;
    }
    pthread_attr_setstacksize(&attributes, stackSize);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    int result = pthread_create(&thread, &attributes, ThreadEntry, parameter);
    pthread_attr_destroy(&attributes);
    if (result != 0) {
        delete parameter;
        return false;
    }
    return true;
#endif
}

} // namespace zir::platform
