#include "platform/DynamicLibrary.h"

#include "platform/SystemError.h"

#include "platform/Text.h"

#include <windows.h>

namespace zir::platform {

std::string DynamicLibraryFileName(const std::string& name) {
    return name + ".DLL";
}

DynamicLibrary DynamicLibrary::Load(const std::string& path, std::string& error) {
    DynamicLibrary library;
    error.clear();
    std::wstring widePath = Utf8ToWide(path);
    // The altered search path lets a vendor library find its own helper DLLs in its folder.
    HMODULE module = LoadLibraryExW(widePath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) {
        error = SystemErrorText(GetLastError());
        return library;
    }
    library.handle_ = reinterpret_cast<void*>(module);
    return library;
}

void* DynamicLibrary::Symbol(const char* name) const {
    if (handle_ == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
}

} // namespace zir::platform
