#include "GuiDriver.h"

#include "ChildControl.h"
#include "shell/win32/ControlIds.h"

#include <shellapi.h>
#include <sstream>
#include <thread>
#include <vector>
#include <winsock2.h>

namespace zir::gui {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                        nullptr, nullptr);
    return utf8;
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int count = 0;
    path_ = std::wstring(base) + L"zir-gui-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++count);
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
}

void TempFolder::Write(const std::wstring& name, const std::string& bytes) const {
    HANDLE file = CreateFileW(File(name).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadFileBytes(const std::wstring& path) {
    // Shared reading: the program may still be writing its stderr file.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring BinFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, n);
    return self.substr(0, self.find_last_of(L"\\/"));
}

namespace {

struct Winsock {
    Winsock() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
};

void EnsureWinsock() {
    static Winsock winsock;
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

} // namespace

namespace {

// A loopback connection to the service, or INVALID_SOCKET.
SOCKET ConnectLoopback(int port) {
    EnsureWinsock();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    DWORD timeout = 10000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    sockaddr_in address = Loopback(port);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

// Sends one GET and takes its whole answer off the connection: the service keeps every
// connection open (keep-alive whatever the request says), so the answer ends where its
// Content-Length says, or with the header block without one. Bytes beyond it stay in pending.
std::string Exchange(SOCKET s, const std::string& target, std::string& pending) {
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[65536];
    for (;;) {
        size_t end = pending.find("\r\n\r\n");
        if (end != std::string::npos) {
            size_t length = pending.find("Content-Length: ");
            size_t body = length < end ? std::stoul(pending.substr(length + 16)) : 0;
            if (pending.size() >= end + 4 + body) {
                std::string answer = pending.substr(0, end + 4 + body);
                pending.erase(0, end + 4 + body);
                return answer;
            }
        }
        int got = recv(s, buffer, sizeof buffer, 0);
        if (got <= 0)
            return "";
        pending.append(buffer, static_cast<size_t>(got));
    }
}

} // namespace

PortHolder::PortHolder() {
    EnsureWinsock();
    SOCKET s = WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, 0);
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    socket_ = s;
    sockaddr_in address = Loopback(0);
    int length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(s, 1) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port_ = ntohs(address.sin_port);
}

PortHolder::~PortHolder() {
    closesocket(static_cast<SOCKET>(socket_));
}

std::string HttpGet(int port, const std::string& target) {
    SOCKET s = ConnectLoopback(port);
    if (s == INVALID_SOCKET)
        return "";
    std::string pending;
    std::string answer = Exchange(s, target, pending);
    closesocket(s);
    return answer;
}

int HttpGetRepeated(int port, const std::string& target, int count) {
    SOCKET s = ConnectLoopback(port);
    if (s == INVALID_SOCKET)
        return 0;
    std::string pending;
    int answers = 0;
    while (answers < count && !Exchange(s, target, pending).empty())
        ++answers;
    closesocket(s);
    return answers;
}

std::string Body(const std::string& answer) {
    size_t end = answer.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return condition();
        Sleep(25);
    }
    return true;
}

namespace {
HWND FindTop(DWORD pid, const wchar_t* windowClass, bool visibleOnly);
} // namespace

ZirProcess::ZirProcess(const TempFolder& folder, const std::string& settings, bool writeCard)
    : folder_(folder) {
    folder_.Write(L"zir.INI", settings);
    if (writeCard)
        WriteCard("CardType=1\nUid=A1B2C3D4\n");
}

ZirProcess::~ZirProcess() {
    if (info_.hProcess == nullptr)
        return;
    if (Running()) {
        // Boxes first: the quit message waits behind a modal box's loop otherwise.
        for (int i = 0; i < 5 && MessageBoxShown(); ++i) {
            MessageBoxSeen box = WaitForMessageBox(std::chrono::milliseconds(100));
            if (box.Window)
                PostMessageW(box.Window, WM_COMMAND, IDCANCEL, 0);
            Sleep(100);
        }
        if (HWND main = FindTop(Pid(), win32::kMainWindowClass, false))
            PostMessageW(main, RegisterWindowMessageW(win32::kQuitMessageName), 0, 0);
        if (WaitForSingleObject(info_.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
}

void ZirProcess::WriteCard(const std::string& card) const {
    folder_.Write(L"card.txt", card);
}

void ZirProcess::Start(const std::wstring& extraArguments) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto open = [&](const std::wstring& name) {
        return CreateFileW(folder_.File(name).c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                           OPEN_ALWAYS, 0, nullptr);
    };
    HANDLE out = open(L"stdout.txt");
    HANDLE err = open(L"stderr.txt");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::wstring program = BinFolder() + L"\\zir.exe";
    std::wstring line = L"\"" + program + L"\" --config=\"" + SettingsFile() + L"\" --simulate=\"" +
                        CardFile() + L"\" " + extraArguments;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &startup, &info))
        info_ = info;
    CloseHandle(out);
    CloseHandle(err);
}

bool ZirProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

int ZirProcess::WaitForExit(std::chrono::milliseconds limit) {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return static_cast<int>(code);
}

std::string ZirProcess::Err() const {
    return ReadFileBytes(folder_.File(L"stderr.txt"));
}

std::string ZirProcess::Out() const {
    return ReadFileBytes(folder_.File(L"stdout.txt"));
}

namespace {

struct WindowSearch {
    DWORD Pid;
    const wchar_t* Class;
    bool VisibleOnly;
    HWND Found = nullptr;
};

BOOL CALLBACK FindTopWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->Pid || (search->VisibleOnly && !IsWindowVisible(window)))
        return TRUE;
    wchar_t name[64];
    GetClassNameW(window, name, 64);
    if (wcscmp(name, search->Class) != 0)
        return TRUE;
    search->Found = window;
    return FALSE;
}

// The text of a box: its static control that has text (the icon's has none).
BOOL CALLBACK TextOfStatic(HWND child, LPARAM data) {
    wchar_t name[32];
    GetClassNameW(child, name, 32);
    std::string text = Text(child);
    if (_wcsicmp(name, L"Static") == 0 && !text.empty()) {
        *reinterpret_cast<std::string*>(data) = text;
        return FALSE;
    }
    return TRUE;
}

HWND FindTop(DWORD pid, const wchar_t* windowClass, bool visibleOnly) {
    WindowSearch search{pid, windowClass, visibleOnly};
    EnumWindows(FindTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

} // namespace

HWND ZirProcess::MainWindow(std::chrono::milliseconds limit) const {
    return TopWindow(win32::kMainWindowClass, false, limit);
}

HWND ZirProcess::TopWindow(const wchar_t* windowClass, bool visibleOnly,
                           std::chrono::milliseconds limit) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTop(Pid(), windowClass, visibleOnly)) != nullptr; }, limit);
    return found;
}

bool ZirProcess::MessageBoxShown() const {
    return FindTop(Pid(), L"#32770", true) != nullptr;
}

MessageBoxSeen ZirProcess::WaitForMessageBox(std::chrono::milliseconds limit) const {
    MessageBoxSeen seen;
    seen.Window = TopWindow(L"#32770", true, limit);
    if (seen.Window == nullptr)
        return seen;
    seen.Caption = Text(seen.Window);
    // The box's text is its static control that has text (the icon's has none).
    EnumChildWindows(seen.Window, TextOfStatic, reinterpret_cast<LPARAM>(&seen.Text));
    return seen;
}

HWND Control(HWND top, int id) {
    return test::ChildControl(top, id);
}

std::string Text(HWND window) {
    // WM_GETTEXT, not GetWindowText: only the message reaches a control of another process.
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got =
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return Utf8(text);
}

void SetText(HWND window, const std::string& utf8) {
    std::wstring text = Wide(utf8);
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

bool Checked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND box, bool checked) {
    SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Answer(const MessageBoxSeen& box, int button) {
    PostMessageW(box.Window, WM_COMMAND, static_cast<WPARAM>(button), 0);
    WaitUntil([&] { return !IsWindow(box.Window) || !IsWindowVisible(box.Window); });
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

bool TrayIconExists(HWND window, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

std::string TrayText(HWND main, int which) {
    DWORD_PTR atom = 0;
    if (!SendMessageTimeoutW(main, RegisterWindowMessageW(win32::kTrayTextMessageName),
                             static_cast<WPARAM>(which), 0, SMTO_NORMAL, 5000, &atom) ||
        atom == 0)
        return "";
    wchar_t text[256] = {};
    const UINT n = GlobalGetAtomNameW(static_cast<ATOM>(atom), text, 256);
    GlobalDeleteAtom(static_cast<ATOM>(atom));
    return Utf8(std::wstring(text, n));
}

std::vector<std::string> MemoLines(HWND memo) {
    std::vector<std::string> lines;
    std::string text = Text(memo);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace zir::gui
