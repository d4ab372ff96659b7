#include "platform/ShellLink.h"

#include "platform/SystemError.h"
#include "platform/Text.h"
#include "platform/win32/ComPtr.h"

#include <windows.h>

#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <stdexcept>

namespace zir::platform {

namespace {

// OLE for the calling thread for the length of one link. A thread that already runs COM in
// another mode refuses it (RPC_E_CHANGED_MODE) but can still make the object.
class OleScope {
  public:
    OleScope() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleScope() {
        if (initialised_)
            OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

  private:
    bool initialised_;
};

std::runtime_error Failure(HRESULT result) {
    std::string text = SystemErrorText(static_cast<unsigned long>(result));
    if (text.empty())
        text = "HRESULT " + std::to_string(static_cast<unsigned long>(result));
    return std::runtime_error(text);
}

} // namespace

std::string StartupFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_STARTUP, TRUE))
        return {};
    return WideToUtf8(folder);
}

void WriteShellLink(const std::string& linkPath, const ShellLinkFields& fields) {
    OleScope ole;
    ComPtr<IUnknown> object;
    HRESULT result =
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                         IID_IUnknown, object.OutVoid());
    if (FAILED(result))
        throw Failure(result);
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(object->QueryInterface(IID_IShellLinkW, link.OutVoid())) ||
        FAILED(object->QueryInterface(IID_IPersistFile, file.OutVoid())))
        throw std::runtime_error("Interface not supported");

    link->SetPath(Utf8ToWide(fields.Target).c_str());
    link->SetArguments(Utf8ToWide(fields.Arguments).c_str());
    link->SetWorkingDirectory(Utf8ToWide(fields.WorkingFolder).c_str());
    link->SetDescription(Utf8ToWide(fields.Description).c_str());
    // A link that was not written must not be reported as autostart switched on.
    result = file->Save(Utf8ToWide(linkPath).c_str(), FALSE);
    if (FAILED(result))
        throw Failure(result);
}

} // namespace zir::platform
