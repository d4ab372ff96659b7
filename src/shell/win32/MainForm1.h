#pragma once

// The main window TForm1 ("身份证zir"): the tray icon and its menu, the service log with the
// start and stop buttons, and the test page. It is created hidden; closing or minimising it
// only hides it, and only the tray menu's "关闭系统" (or the zir.Quit message, or the end of the
// session) ends the program.

#include "core/CardService.h"
#include "shell/common/ServiceControl.h"
#include "shell/common/UiTaskQueue.h"
#include "shell/win32/FormWindow.h"
#include "shell/win32/MemoLines.h"
#include "shell/win32/PhotoBitmap.h"
#include "shell/win32/TrayIcon.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <windows.h>

namespace zir::win32 {

class TForm2;

class TForm1 : public FormWindow {
  public:
    // The service and the settings dialog outlive the window.
    TForm1(core::CardService& service, TForm2& settings);
    ~TForm1() override;

    // Registers the window classes of TForm1 and its containers.
    static bool RegisterWindowClasses(HINSTANCE instance);

    // Creates the window hidden; its creation runs FormCreate (tray icon, start of the service).
    bool Create();

    // The service log's hand-over, from any thread: the line reaches mmo1 through the
    // worker-to-UI queue and is dropped once the window is gone.
    void LogLine(const std::string& utf8Line);

    // Runs task on the UI thread, from any thread; dropped (false) once the window is gone.
    bool RunOnUiThread(shell::UiTaskQueue::Task task);

    // The running program applies changed settings (the beep) on the service worker: that
    // waits for a read in progress, which the UI thread must never do.
    void ApplyChangedSettings();

    // The window went without the service stopped or the test read ended (a reader call that
    // never returns): the process must end without waiting for them.
    bool EndedWithoutWaiting() const { return endedWithoutWaiting_; }

  private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayoutControls() override;

    void FormCreate();
    void FormDestroy();
    void SysCommandMessage(WPARAM command, LPARAM lParam);
    void TrayIconMessage(LPARAM mouseMessage);
    void N1Click();
    void N2Click();
    void btnStartServerClick();
    void btnStopServerClick();
    void btnTestIdCardClick();
    void btnTestGetUIDClick();

    void CreateControls();
    void ShowPage(int index);
    void DrainUiQueue();
    void DrawPhoto(const DRAWITEMSTRUCT& item);

    void UpdateServiceButtons();
    void ReloadSettings();
    // Stops the service (until stopped) without freezing the window, then ends the program;
    // after kQuitDeadline it ends without the stop, whatever a reader call does.
    void Quit();
    // Ends the program once the stop and the test read are both done.
    void EndWhenDone();
    void EndProgram(bool withoutWaiting);
    // The end of the session: no time for the message loop, the stop is waited for here.
    void EndSession();
    void OnTimer(UINT_PTR timer);

    // The tray tip and balloon follow the outcome of the last start.
    void UpdateTrayState();
    // An icon the shell did not take is tried again every 2 s, for up to 2 minutes.
    void RetryTrayIcon();
    void TrayIconRetryTick();
    LRESULT TrayTextForTests(WPARAM which) const;

    void SetTestButtonsEnabled(bool enabled);
    // The read runs on testRead_; what it returns runs on the UI thread afterwards.
    void StartTestRead(std::function<shell::UiTaskQueue::Task()> read);
    void JoinTestRead();

    TForm2& settings_;
    // The test page's reads: the service's own card operations.
    core::TCardOperations& cards_;
    HWND pages_ = nullptr;
    HWND pageSheet1_ = nullptr;
    HWND pageSheet2_ = nullptr;
    HWND mmo1_ = nullptr;
    HWND btnStartServer_ = nullptr;
    HWND btnStopServer_ = nullptr;
    HWND mmoIdCard_ = nullptr;
    HWND pnl1_ = nullptr;
    HWND imgPhoto_ = nullptr;
    HWND btnTestGetUID_ = nullptr;
    HWND btnTestIdCard_ = nullptr;
    HMENU PMenu_ = nullptr;

    TrayIcon TrayIconData_;
    MemoLines serviceLog_;
    MemoLines testOutput_;
    PhotoBitmap photo_;
    std::shared_ptr<shell::UiTaskQueue> uiQueue_;
    bool testReadRunning_ = false;
    // The test read's thread, owned so that the end can wait for it; `finished` is set by the
    // thread when the read is over (the report may not have run yet).
    std::thread testRead_;
    std::atomic<bool> testReadFinished_{true};
    bool serviceStopped_ = false;
    bool ended_ = false;
    bool endedWithoutWaiting_ = false;
    bool trayShowsFailure_ = false;
    int trayRetries_ = 0;

    UINT taskbarCreatedMessage_ = 0;
    UINT settingsChangedMessage_ = 0;
    UINT quitMessage_ = 0;
    UINT trayTextMessage_ = 0;
    // Start, stop, reload and the end, off the UI thread; last, so that its worker, which
    // reports through the queue above, ends first.
    shell::ServiceControl serviceControl_;
};

} // namespace zir::win32
