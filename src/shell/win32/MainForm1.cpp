#include "shell/win32/MainForm1.h"

#include "core/ServiceLog.h"
#include "platform/Text.h"
#include "platform/UserMessage.h"
#include "shell/common/FormLayout.h"
#include "shell/common/ProgramNames.h"
#include "shell/common/ServiceLogLimit.h"
#include "shell/common/SettingsApply.h"
#include "shell/common/StartFailureNotice.h"
#include "shell/common/TestPageLines.h"
#include "shell/common/TestRead.h"
#include "shell/win32/ControlIds.h"
#include "shell/win32/Controls.h"
#include "shell/win32/Dpi.h"
#include "shell/win32/SetupForm.h"
#include "shell/win32/StandardStreams.h"
#include "shell/win32/UserMessages.h"

#include <algorithm>
#include <chrono>
#include <commctrl.h>
#include <exception>
#include <thread>
#include <uxtheme.h>

namespace zir::win32 {

namespace {

namespace L = shell::MainFormLayout;

// The one message that wakes the UI thread for the worker-to-UI queue.
constexpr UINT kDrainMessage = WM_APP + 1;

constexpr UINT_PTR kTrayRetryTimer = 1;
constexpr UINT kTrayRetryEveryMs = 2000;
constexpr int kTrayRetries = 60; // 2 minutes
constexpr UINT_PTR kQuitDeadlineTimer = 2;
// The quit's wait for the stop and the test read: longer than the stop's own wait for busy
// handlers (5 s), and short enough that with the last log lines' wait and the process's own
// end the program is gone within 10 s, whatever a reader call does.
constexpr std::chrono::milliseconds kQuitDeadline{6000};

const char* const kCaption = "身份证zir";
const char* const kCloseQuestion = "确定要关闭解码服务么？";

// A plain message box owned by the main window.
platform::UserMessage PlainMessage(std::string text) {
    platform::UserMessage message;
    message.Text = std::move(text);
    message.Owner = kMainWindowOwner;
    return message;
}

// Tab pages and the photo's panel pass their controls' notifications on to the form.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        // The panel's raised bevel.
        if (GetWindowLongPtrW(window, GWLP_ID) == IDC_pnl1) {
            RECT rect;
            GetClientRect(window, &rect);
            DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
        }
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The containers' classes: no icon, their own background.
bool RegisterContainerClass(HINSTANCE instance, const wchar_t* name, HBRUSH brush, UINT style) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = ContainerProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = brush;
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

TForm1::TForm1(core::CardService& service, TForm2& settings)
    : settings_(settings), cards_(service.Cards()), serviceLog_(shell::kServiceLogLines),
      testOutput_(MemoLines::kUnlimited),
      serviceControl_(
          service, [this](std::function<void()> task) { return RunOnUiThread(std::move(task)); },
          [this] { UpdateServiceButtons(); }) {
    uiQueue_ = std::make_shared<shell::UiTaskQueue>([this] {
        // The window exists until the queue is closed in FormDestroy.
        return PostMessageW(handle_, kDrainMessage, 0, 0) != FALSE;
    });
}

TForm1::~TForm1() {
    if (handle_ != nullptr)
        DestroyWindow(handle_);
    JoinTestRead();
    if (PMenu_ != nullptr)
        DestroyMenu(PMenu_);
}

bool TForm1::RegisterWindowClasses(HINSTANCE instance) {
    // Tab pages paint like the themed tab body they lie on; the classic look has button faces.
    HBRUSH page = GetSysColorBrush(IsAppThemed() ? COLOR_WINDOW : COLOR_BTNFACE);
    return RegisterFormClass(instance, kMainWindowClass) &&
           RegisterContainerClass(instance, kTabSheetClass, page, 0) &&
           RegisterContainerClass(instance, kPanelClass, GetSysColorBrush(COLOR_BTNFACE),
                                  CS_HREDRAW | CS_VREDRAW);
}

bool TForm1::Create() {
    taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    settingsChangedMessage_ = RegisterWindowMessageW(kSettingsChangedMessageName);
    quitMessage_ = RegisterWindowMessageW(kQuitMessageName);
    trayTextMessage_ = RegisterWindowMessageW(kTrayTextMessageName);

    // Created at 96 DPI's size; WM_CREATE scales it to the DPI of the monitor it is on.
    return CreateForm(kMainWindowClass, kCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, nullptr,
                      L::kClient, L::kLeft, L::kTop);
}

void TForm1::LogLine(const std::string& utf8Line) {
    uiQueue_->Push([this, line = utf8Line] { serviceLog_.Add(line); });
}

bool TForm1::RunOnUiThread(shell::UiTaskQueue::Task task) {
    return uiQueue_->Push(std::move(task));
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls();
        FormCreate();
        return 0;
    case WM_DESTROY:
        FormDestroy();
        return 0;
    case WM_SIZE:
        LayoutControls();
        return 0;
    case WM_DPICHANGED:
        FollowDpiChange(wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        SysCommandMessage(wParam, lParam);
        return 0;
    case kTrayIconMessage:
        TrayIconMessage(lParam);
        return 0;
    case kDrainMessage:
        DrainUiQueue();
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_btnStartServer:
            btnStartServerClick();
            return 0;
        case IDC_btnStopServer:
            btnStopServerClick();
            return 0;
        case IDC_btnTestIdCard:
            btnTestIdCardClick();
            return 0;
        case IDC_btnTestGetUID:
            btnTestGetUIDClick();
            return 0;
        case IDM_N1:
            N1Click();
            return 0;
        case IDM_N2:
            N2Click();
            return 0;
        default:
            return 0;
        }
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom == pages_ && header->code == TCN_SELCHANGE)
            ShowPage(TabCtrl_GetCurSel(pages_));
        return 0;
    }
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == IDC_imgPhoto) {
            DrawPhoto(*item);
            return TRUE;
        }
        return FALSE;
    }
    case WM_CTLCOLORSTATIC: {
        // The memos are read-only but are text boxes, not labels: window background.
        HWND control = reinterpret_cast<HWND>(lParam);
        if (control == mmo1_ || control == mmoIdCard_) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        return DefWindowProcW(handle_, message, wParam, lParam);
    }
    case WM_CLOSE:
        // Another program asks the window to close (taskkill): the program ends in order, as
        // zir.Quit has it. The close box and Alt+F4 come as WM_SYSCOMMAND and only hide.
        Quit();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            EndSession();
        return 0;
    default:
        break;
    }
    if (message != 0 && message == taskbarCreatedMessage_) {
        if (!TrayIconData_.AddAgain())
            RetryTrayIcon();
        return 0;
    }
    if (message != 0 && message == trayTextMessage_)
        return TrayTextForTests(wParam);
    if (message != 0 && message == settingsChangedMessage_) {
        ReloadSettings();
        return 0;
    }
    if (message != 0 && message == quitMessage_) {
        Quit();
        return 0;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void TForm1::CreateControls() {
    pages_ =
        CreateControl(handle_, WC_TABCONTROLW, "", WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP,
                      IDC_pages, WS_EX_CONTROLPARENT);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring first = platform::Utf8ToWide("zir服务");
    std::wstring second = platform::Utf8ToWide("解码测试");
    item.pszText = first.data();
    TabCtrl_InsertItem(pages_, 0, &item);
    item.pszText = second.data();
    TabCtrl_InsertItem(pages_, 1, &item);

    pageSheet1_ = CreateControl(pages_, kTabSheetClass, "zir服务", WS_CLIPCHILDREN, IDC_pageSheet1,
                                WS_EX_CONTROLPARENT);
    pageSheet2_ = CreateControl(pages_, kTabSheetClass, "解码测试", WS_CLIPCHILDREN, IDC_pageSheet2,
                                WS_EX_CONTROLPARENT);

    const DWORD memo = WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                       ES_AUTOHSCROLL | ES_READONLY | ES_NOHIDESEL;
    mmo1_ = CreateControl(pageSheet1_, WC_EDITW, "", memo, IDC_mmo1, WS_EX_CLIENTEDGE);
    btnStartServer_ = CreateControl(pageSheet1_, WC_BUTTONW, "启动服务", WS_TABSTOP | BS_PUSHBUTTON,
                                    IDC_btnStartServer);
    btnStopServer_ = CreateControl(pageSheet1_, WC_BUTTONW, "停止服务",
                                   WS_TABSTOP | BS_PUSHBUTTON | WS_DISABLED, IDC_btnStopServer);

    mmoIdCard_ = CreateControl(pageSheet2_, WC_EDITW, "", memo, IDC_mmoIdCard, WS_EX_CLIENTEDGE);
    pnl1_ = CreateControl(pageSheet2_, kPanelClass, "", WS_CLIPCHILDREN, IDC_pnl1);
    imgPhoto_ = CreateControl(pnl1_, WC_STATICW, "", SS_OWNERDRAW, IDC_imgPhoto);
    btnTestGetUID_ = CreateControl(pageSheet2_, WC_BUTTONW, "获取UID", WS_TABSTOP | BS_PUSHBUTTON,
                                   IDC_btnTestGetUID);
    btnTestIdCard_ = CreateControl(pageSheet2_, WC_BUTTONW, "zir测试", WS_TABSTOP | BS_PUSHBUTTON,
                                   IDC_btnTestIdCard);
    serviceLog_.Attach(mmo1_);
    testOutput_.Attach(mmoIdCard_);

    PMenu_ = CreatePopupMenu();
    AppendMenuW(PMenu_, MF_STRING, IDM_N1, platform::Utf8ToWide("关闭系统").c_str());
    AppendMenuW(PMenu_, MF_STRING, IDM_N2, platform::Utf8ToWide("设置").c_str());

    // The window takes the DPI of the monitor it was created on, and its size with it.
    ApplyDpi(WindowDpi(handle_));
    PlaceOnScreen(L::kClient, L::kLeft, L::kTop);
    ShowPage(0);
    LayoutControls();
}

void TForm1::LayoutControls() {
    if (pages_ == nullptr)
        return;
    const shell::TExtent client = ClientExtent(handle_);
    MoveControl(pages_, shell::PlaceControl(L::pages, L::kClient, client, dpi_));

    RECT display{};
    GetClientRect(pages_, &display);
    TabCtrl_AdjustRect(pages_, FALSE, &display);
    const shell::TBounds pageBounds{display.left, display.top, display.right - display.left,
                                    display.bottom - display.top};
    MoveControl(pageSheet1_, pageBounds);
    MoveControl(pageSheet2_, pageBounds);
    const shell::TExtent page{pageBounds.Width, pageBounds.Height};

    MoveControl(mmo1_, shell::PlaceControl(L::mmo1, L::kPage, page, dpi_));
    MoveControl(btnStartServer_, shell::PlaceControl(L::btnStartServer, L::kPage, page, dpi_));
    MoveControl(btnStopServer_, shell::PlaceControl(L::btnStopServer, L::kPage, page, dpi_));
    MoveControl(mmoIdCard_, shell::PlaceControl(L::mmoIdCard, L::kPage, page, dpi_));
    MoveControl(pnl1_, shell::PlaceControl(L::pnl1, L::kPage, page, dpi_));
    const shell::TExtent panel = shell::ScaleForDpi(L::kPanel, dpi_);
    MoveControl(imgPhoto_, shell::PlaceControl(L::imgPhoto, L::kPanel, panel, dpi_));
    MoveControl(btnTestGetUID_, shell::PlaceControl(L::btnTestGetUID, L::kPage, page, dpi_));
    MoveControl(btnTestIdCard_, shell::PlaceControl(L::btnTestIdCard, L::kPage, page, dpi_));
}

void TForm1::ShowPage(int index) {
    TabCtrl_SetCurSel(pages_, index);
    ShowWindow(pageSheet1_, index == 0 ? SW_SHOW : SW_HIDE);
    ShowWindow(pageSheet2_, index == 1 ? SW_SHOW : SW_HIDE);
}

void TForm1::FormCreate() {
    // Explorer busy at log-on may refuse the icon or not answer in time, and being already
    // running it sends no "TaskbarCreated" later: without a retry the program could not be
    // opened or ended.
    if (!TrayIconData_.Add(handle_, shell::kApplicationTitle))
        RetryTrayIcon();
    // Port, beep and start, as the Linux program starts; a start that fails has logged it and
    // the user may press start again.
    serviceControl_.StartAtLaunch();
}

void TForm1::FormDestroy() {
    KillTimer(handle_, kTrayRetryTimer);
    KillTimer(handle_, kQuitDeadlineTimer);
    TrayIconData_.Remove();
    uiQueue_->Close();
    PostQuitMessage(0);
}

void TForm1::SysCommandMessage(WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
    case SC_CLOSE:
        SendMessageW(handle_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    case SC_MINIMIZE:
        ShowWindow(handle_, SW_HIDE);
        break;
    default:
        DefWindowProcW(handle_, WM_SYSCOMMAND, command, lParam);
        break;
    }
}

void TForm1::TrayIconMessage(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        ShowWindow(handle_, SW_SHOW);
        if (IsIconic(handle_))
            ShowWindow(handle_, SW_RESTORE);
        SetForegroundWindow(handle_);
        break;
    case WM_RBUTTONDOWN: {
        // The menu closes when the user clicks elsewhere only if its window is in front.
        SetForegroundWindow(handle_);
        POINT cursor{};
        GetCursorPos(&cursor);
        TrackPopupMenu(PMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, handle_,
                       nullptr);
        PostMessageW(handle_, WM_NULL, 0, 0);
        break;
    }
    default:
        break;
    }
}

void TForm1::N1Click() {
    if (serviceControl_.Ending())
        return;
    platform::UserMessage question;
    question.Text = kCloseQuestion;
    question.Kind = platform::UserMessageKind::Question;
    question.Caption = shell::kNoticeCaption;
    question.Owner = kMainWindowOwner;
    if (platform::ShowUserMessage(question) == platform::UserMessageAnswer::Ok)
        Quit();
}

void TForm1::N2Click() {
    if (serviceControl_.Ending())
        return;
    settings_.ShowModal();
}

void TForm1::btnStartServerClick() {
    serviceControl_.Start();
}

void TForm1::btnStopServerClick() {
    serviceControl_.Stop();
}

void TForm1::UpdateServiceButtons() {
    // The tray first: its calls to the shell let other programs' messages in meanwhile, and
    // whoever waits for the buttons then finds the tray as they are.
    UpdateTrayState();
    const shell::TServiceButtons buttons = serviceControl_.Buttons();
    EnableWindow(btnStartServer_, buttons.Start);
    EnableWindow(btnStopServer_, buttons.Stop);
}

void TForm1::UpdateTrayState() {
    const core::TStartFailure& failure = serviceControl_.StartFailure();
    if (failure.Failed == trayShowsFailure_)
        return; // the balloon says it once, not at every report
    trayShowsFailure_ = failure.Failed;
    if (failure.Failed) {
        TrayIconData_.SetTip(shell::kStoppedTrayTip);
        TrayIconData_.ShowBalloon(shell::kStartFailedTitle, shell::StartFailureNotice(failure));
    } else {
        TrayIconData_.SetTip(shell::kApplicationTitle);
        TrayIconData_.HideBalloon();
    }
}

void TForm1::RetryTrayIcon() {
    trayRetries_ = 0;
    core::LogServiceLine("==TRAY ICON ADD FAIL...retrying every 2 s");
    SetTimer(handle_, kTrayRetryTimer, kTrayRetryEveryMs, nullptr);
}

void TForm1::TrayIconRetryTick() {
    ++trayRetries_;
    if (TrayIconData_.AddAgain()) {
        KillTimer(handle_, kTrayRetryTimer);
        core::LogServiceLine("==TRAY ICON ADD SUCCESS...after " + std::to_string(trayRetries_) +
                             " retries");
        // A failure shown before the icon was there is shown now.
        if (trayShowsFailure_) {
            trayShowsFailure_ = false;
            UpdateTrayState();
        }
        return;
    }
    if (trayRetries_ >= kTrayRetries) {
        KillTimer(handle_, kTrayRetryTimer);
        core::LogServiceLine("==TRAY ICON ADD FAIL...gave up after " +
                             std::to_string(trayRetries_) + " retries");
        return;
    }
    core::LogServiceLine("==TRAY ICON ADD FAIL...retry " + std::to_string(trayRetries_));
}

LRESULT TForm1::TrayTextForTests(WPARAM which) const {
    const std::string& text = which == 0 ? TrayIconData_.Tip() : TrayIconData_.Balloon();
    if (text.empty())
        return 0;
    return GlobalAddAtomW(platform::Utf8ToWide(text).c_str());
}

void TForm1::OnTimer(UINT_PTR timer) {
    if (timer == kTrayRetryTimer) {
        TrayIconRetryTick();
    } else if (timer == kQuitDeadlineTimer) {
        KillTimer(handle_, kQuitDeadlineTimer);
        core::LogServiceLine("==SERVER STOP FAIL...ending without waiting for a busy reader call");
        EndProgram(true);
    }
}

void TForm1::ReloadSettings() {
    serviceControl_.Reload([](shell::TReloadOutcome outcome) {
        // The note the Linux program writes on SIGHUP; a failed start has logged itself and the
        // tray program keeps running, so that the user may press start again.
        WriteStandardError(std::string(shell::ReloadNote(outcome)) + "\n");
    });
}

void TForm1::ApplyChangedSettings() {
    serviceControl_.ApplySettings();
}

void TForm1::Quit() {
    if (serviceControl_.Ending())
        return;
    SetTestButtonsEnabled(false);
    SetTimer(handle_, kQuitDeadlineTimer, static_cast<UINT>(kQuitDeadline.count()), nullptr);
    // The program no longer offers its menu: the icon goes at once, not after the stop (the
    // shell may take its time to answer: the deadline runs already).
    KillTimer(handle_, kTrayRetryTimer);
    TrayIconData_.Remove();
    serviceControl_.End([this] {
        serviceStopped_ = true;
        EndWhenDone();
    });
}

void TForm1::EndWhenDone() {
    if (serviceStopped_ && testReadFinished_)
        EndProgram(false);
}

void TForm1::EndProgram(bool withoutWaiting) {
    if (ended_)
        return;
    ended_ = true;
    KillTimer(handle_, kQuitDeadlineTimer);
    endedWithoutWaiting_ = withoutWaiting || !testReadFinished_;
    JoinTestRead();
    settings_.Close();
    DestroyWindow(handle_);
}

void TForm1::EndSession() {
    // Windows may end the process as soon as this message returns: the stop happens now, as
    // long as the quit's deadline allows.
    const auto deadline = std::chrono::steady_clock::now() + kQuitDeadline;
    KillTimer(handle_, kTrayRetryTimer);
    TrayIconData_.Remove();
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const bool stopped = serviceControl_.EndNow(std::max(left, std::chrono::milliseconds(0)));
    while (!testReadFinished_ && std::chrono::steady_clock::now() < deadline)
        Sleep(20);
    EndProgram(!stopped);
}

void TForm1::JoinTestRead() {
    if (!testRead_.joinable())
        return;
    // A read stuck in the reader is left to the process's end, which then does not wait.
    if (testReadFinished_)
        testRead_.join();
    else
        testRead_.detach();
}

void TForm1::SetTestButtonsEnabled(bool enabled) {
    EnableWindow(btnTestGetUID_, enabled && !serviceControl_.Ending());
    EnableWindow(btnTestIdCard_, enabled && !serviceControl_.Ending());
}

void TForm1::StartTestRead(std::function<shell::UiTaskQueue::Task()> read) {
    JoinTestRead(); // the last read has reported: its thread is done
    testReadRunning_ = true;
    testReadFinished_ = false;
    SetTestButtonsEnabled(false);
    try {
        testRead_ = std::thread([this, read = std::move(read), queue = uiQueue_] {
            shell::UiTaskQueue::Task report;
            try {
                report = read();
            } catch (const std::exception& e) {
                report = [message = std::string(e.what())] { ReportUnexpectedError(message); };
            } catch (...) {
                report = [] { ReportUnexpectedError(""); };
            }
            // Finished before the report is queued: the report may end the program, which
            // then joins this thread.
            testReadFinished_ = true;
            queue->Push([this, report = std::move(report)] {
                testReadRunning_ = false;
                SetTestButtonsEnabled(true);
                if (report)
                    report();
                if (serviceControl_.Ending())
                    EndWhenDone();
            });
        });
    } catch (const std::exception& error) {
        testReadRunning_ = false;
        testReadFinished_ = true;
        SetTestButtonsEnabled(true);
        platform::ShowUserMessage(PlainMessage(error.what()));
    }
}

void TForm1::btnTestIdCardClick() {
    if (testReadRunning_ || serviceControl_.Ending())
        return;
    photo_ = {};
    InvalidateRect(imgPhoto_, nullptr, TRUE);
    UpdateWindow(imgPhoto_);
    // The read may take seconds with a slow reader: it runs on a worker under the card lock,
    // the window stays responsive and the disabled buttons allow no second read meanwhile.
    StartTestRead([this]() -> shell::UiTaskQueue::Task {
        shell::TIdCardTestRead page = shell::RunIdCardTestRead(cards_);
        // Decoded here, off the UI thread: a picture is no window.
        PhotoBitmap photo;
        if (page.ShowPhoto) {
            std::string problem;
            photo = PhotoBitmap::Decode(page.PhotoBitmap, problem);
            if (photo.Empty())
                page.Message = shell::PhotoLoadFailedMessage(problem);
        }
        page.PhotoBitmap.clear();
        return [this, page = std::move(page), photo] {
            for (const std::string& line : page.Lines)
                testOutput_.Add(line);
            testOutput_.Flush();
            photo_ = photo;
            InvalidateRect(imgPhoto_, nullptr, TRUE);
            // Held until the queue's run is over (the box's loop would run later tasks first).
            if (!page.Message.empty() && !serviceControl_.Ending())
                platform::ShowUserMessage(PlainMessage(page.Message));
        };
    });
}

void TForm1::btnTestGetUIDClick() {
    if (testReadRunning_ || serviceControl_.Ending())
        return;
    StartTestRead([this]() -> shell::UiTaskQueue::Task {
        shell::TUidTestRead page = shell::RunUidTestRead(cards_);
        return [this, lines = std::move(page.Lines)] {
            for (const std::string& line : lines)
                testOutput_.Add(line);
            testOutput_.Flush();
        };
    });
}

void TForm1::DrainUiQueue() {
    {
        HoldMessageBoxes hold;
        try {
            uiQueue_->RunQueued();
        } catch (const std::exception& e) {
            ReportUnexpectedError(e.what());
        } catch (...) {
            ReportUnexpectedError("");
        }
        serviceLog_.Flush();
    }
    // Once the program ends no box may hold it up: the window is gone or going.
    if (!ended_)
        ShowHeldMessageBoxes();
}

void TForm1::DrawPhoto(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    photo_.Draw(item.hDC, item.rcItem);
}

} // namespace zir::win32
