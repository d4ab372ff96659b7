#pragma once

// Drives the real zir.exe from outside, as a person or another program on the desktop would:
// starts it, finds its windows by class and caption, reads and sets their controls with window
// messages, answers its message boxes, and talks HTTP to its service over loopback.

#include "LoopbackClient.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace zir::gui {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// A fresh folder under the temporary folder, removed with its files.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    void Write(const std::wstring& name, const std::string& bytes) const;

  private:
    std::wstring path_;
};

std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// The folder of this test program, where zir.exe and the simulator's folder are built too.
std::wstring BinFolder();
using zir::test::FreeLoopbackPort;

// One HTTP GET over a new loopback connection; the whole answer, or "" when the service did not
// answer.
std::string HttpGet(int port, const std::string& target);
// The same GET `count` times on one kept-alive connection; returns the answers received.
int HttpGetRepeated(int port, const std::string& target, int count);
// The body of an answer.
std::string Body(const std::string& answer);

// A loopback port held by a listener, as another program would hold it. Its socket is not
// inherited: the zir.exe a test starts must not hold the port on after the test lets it go.
class PortHolder {
  public:
    PortHolder();
    ~PortHolder();
    PortHolder(const PortHolder&) = delete;
    PortHolder& operator=(const PortHolder&) = delete;
    int Port() const { return port_; }

  private:
    UINT_PTR socket_;
    int port_ = 0;
};

// Polls until the condition holds or the time is up; returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(10));

// A message box of the program: its text, caption and window.
struct MessageBoxSeen {
    HWND Window = nullptr;
    std::string Text;
    std::string Caption;
};

// zir.exe, started with a settings file and a simulated card in its own folder; ended (and its
// message boxes closed) when the object goes.
class ZirProcess {
  public:
    // settings: the settings file's text; the card file (card.txt) is written by WriteCard.
    ZirProcess(const TempFolder& folder, const std::string& settings, bool writeCard = true);
    ~ZirProcess();
    ZirProcess(const ZirProcess&) = delete;
    ZirProcess& operator=(const ZirProcess&) = delete;

    void Start(const std::wstring& extraArguments = L"");
    DWORD Pid() const { return info_.dwProcessId; }
    bool Running() const;
    // The exit status once it has ended within the limit; -1 otherwise.
    int WaitForExit(std::chrono::milliseconds limit = std::chrono::seconds(15));
    std::string Err() const;
    std::string Out() const;
    std::wstring SettingsFile() const { return folder_.File(L"zir.INI"); }
    std::wstring CardFile() const { return folder_.File(L"card.txt"); }
    void WriteCard(const std::string& card) const;

    // The main window (class TForm1), once it exists.
    HWND MainWindow(std::chrono::milliseconds limit = std::chrono::seconds(15)) const;
    // A top-level window of this process by class, visible or not.
    HWND TopWindow(const wchar_t* windowClass, bool visibleOnly,
                   std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    // The next message box this process shows.
    MessageBoxSeen
    WaitForMessageBox(std::chrono::milliseconds limit = std::chrono::seconds(10)) const;
    bool MessageBoxShown() const;

  private:
    const TempFolder& folder_;
    PROCESS_INFORMATION info_{};
};

// A control anywhere below a window (tab pages included).
HWND Control(HWND top, int id);
std::string Text(HWND window);
void SetText(HWND window, const std::string& utf8);
// A click that may open a modal box: posted, so that the test does not wait inside it.
void Click(HWND button);
bool Checked(HWND box);
void SetChecked(HWND box, bool checked);
// Presses a button of a message box (IDOK, IDCANCEL) and waits until the box is gone.
void Answer(const MessageBoxSeen& box, int button);
// The control that has the keyboard focus in the window's thread.
HWND FocusOf(HWND window);
// Whether the notification area holds an icon for (window, id): a change that asks for nothing
// succeeds only for an icon that exists.
bool TrayIconExists(HWND window, UINT id);
// The main window's tray tip (which 0) or the balloon's text on show (1; "" for none), through
// the program's test message.
std::string TrayText(HWND main, int which);
// The lines of a memo, without their line breaks.
std::vector<std::string> MemoLines(HWND memo);

} // namespace zir::gui
