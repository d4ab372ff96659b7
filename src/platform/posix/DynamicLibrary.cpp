#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace zir::platform {

std::string DynamicLibraryFileName(const std::string& name) {
    return "lib" + name + ".so";
}

DynamicLibrary DynamicLibrary::Load(const std::string& path, std::string& error) {
    DynamicLibrary library;
    error.clear();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown error";
        return library;
    }
    library.handle_ = handle;
    return library;
}

void* DynamicLibrary::Symbol(const char* name) const {
    if (handle_ == nullptr)
        return nullptr;
    return dlsym(handle_, name);
}

} // namespace zir::platform
