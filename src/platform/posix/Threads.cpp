#include "platform/Threads.h"

#include <climits>
#include <memory>
#include <pthread.h>

namespace zir::platform {

namespace {

void* ThreadEntry(void* parameter) {
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return nullptr;
}

} // namespace

bool StartDetachedThread(std::size_t stackSize, std::function<void()> body) {
    auto* parameter = new std::function<void()>(std::move(body));
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
}

} // namespace zir::platform
