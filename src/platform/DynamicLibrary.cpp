#include "platform/DynamicLibrary.h"

#include "platform/SystemError.h"

#include "platform/Text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace zir::platform {

DynamicLibrary DynamicLibrary::Load(const std::string& path, std::string& error) {
    DynamicLibrary library;
    error.clear();
#ifdef _WIN32
    std::wstring widePath = Utf8ToWide(path);
    // The altered search path lets a vendor library find its own helper DLLs in its folder.
    HMODULE module = LoadLibraryExW(widePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        error = SystemErrorText(GetLastError());
        return library;
    }
    library.handle_ = reinterpret_cast<void*>(module);
#else
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown error";
        return library;
    }
    library.handle_ = handle;
#endif
    return library;
}

void* DynamicLibrary::Symbol(const char* name) const {
    if (handle_ == nullptr)
        return nullptr;
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
#else
    return dlsym(handle_, name);
#endif
}

} // namespace zir::platform
