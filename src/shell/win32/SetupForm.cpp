#include "shell/win32/SetupForm.h"

#include "platform/UserMessage.h"
#include "shell/common/FormLayout.h"
#include "shell/common/ProgramNames.h"
#include "shell/common/SettingsSave.h"
#include "shell/win32/ControlIds.h"
#include "shell/win32/Controls.h"
#include "shell/win32/Dpi.h"
#include "shell/win32/MessageLoop.h"
#include "shell/win32/UserMessages.h"

#include <algorithm>
#include <commctrl.h>

namespace zir::win32 {

namespace {

namespace L = shell::SettingsFormLayout;

const char* const kCaption = "系统设置";
// A fixed single border with the system menu only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// A box owned by the dialog.
platform::UserMessage DialogMessage(std::string text, platform::UserMessageKind kind,
                                    std::string caption = {}) {
    platform::UserMessage message;
    message.Text = std::move(text);
    message.Kind = kind;
    message.Caption = std::move(caption);
    message.Owner = kSettingsDialogOwner;
    return message;
}

} // namespace

TForm2::TForm2(shell::TAutostartProgram program) : program_(std::move(program)) {}

void TForm2::SetSettingsChangedHandler(std::function<void()> handler) {
    settingsChanged_ = std::move(handler);
}

TForm2::~TForm2() {
    if (handle_ != nullptr)
        DestroyWindow(handle_);
}

bool TForm2::RegisterWindowClass(HINSTANCE instance) {
    return RegisterFormClass(instance, kSettingsWindowClass);
}

bool TForm2::Create(HWND owner) {
    owner_ = owner;
    return CreateForm(kSettingsWindowClass, kCaption, kStyle, kExStyle, owner, L::kClient, L::kLeft,
                      L::kTop);
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateControls();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_btnSaveConfig && HIWORD(wParam) == BN_CLICKED)
            btnSaveConfigClick();
        // Enter and Escape (IDOK, IDCANCEL) do nothing: the dialog has no default button.
        return 0;
    case WM_CLOSE:
        // The close box saves nothing. Close() also wakes the modal loop, which matters when the
        // message was sent from another thread or process: sent messages are handled inside
        // GetMessageW, which would otherwise go on waiting.
        Close();
        return 0;
    case WM_CTLCOLORSTATIC:
        // The separator line is a label without text in the button-shadow colour.
        if (reinterpret_cast<HWND>(lParam) == lbl1_)
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNSHADOW));
        break;
    case WM_DPICHANGED:
        FollowDpiChange(wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

void TForm2::CreateControls() {
    // Created in the tab order: chkAutoRun, btnSaveConfig, TxtWebPort, txtWebType, chkCache,
    // chkOpenSound; the labels take no focus.
    chkAutoRun_ = CreateControl(handle_, WC_BUTTONW, "开机自动启动", WS_TABSTOP | BS_AUTOCHECKBOX,
                                IDC_chkAutoRun);
    btnSaveConfig_ = CreateControl(handle_, WC_BUTTONW, "保存设置", WS_TABSTOP | BS_PUSHBUTTON,
                                   IDC_btnSaveConfig);
    TxtWebPort_ = CreateControl(handle_, WC_EDITW, "", WS_TABSTOP | ES_AUTOHSCROLL, IDC_TxtWebPort,
                                WS_EX_CLIENTEDGE);
    txtWebType_ = CreateControl(handle_, WC_EDITW, "", WS_TABSTOP | ES_AUTOHSCROLL, IDC_txtWebType,
                                WS_EX_CLIENTEDGE);
    chkCache_ =
        CreateControl(handle_, WC_BUTTONW, "启用缓存", WS_TABSTOP | BS_AUTOCHECKBOX, IDC_chkCache);
    chkOpenSound_ = CreateControl(handle_, WC_BUTTONW, "开启声音", WS_TABSTOP | BS_AUTOCHECKBOX,
                                  IDC_chkOpenSound);
    lbl2_ = CreateControl(handle_, WC_STATICW, "服务端口：", SS_LEFTNOWORDWRAP, IDC_lbl2);
    lbl3_ = CreateControl(handle_, WC_STATICW, "服务类别：", SS_LEFTNOWORDWRAP, IDC_lbl3);
    lbl1_ = CreateControl(handle_, WC_STATICW, "", SS_LEFT, IDC_lbl1);
    ApplyDpi(WindowDpi(handle_));
}

void TForm2::LayoutControls() {
    const shell::TExtent client = ScaleForDpi(L::kClient, dpi_);
    // The labels are as wide as their text, however the font renders it at this DPI.
    const auto label = [&](HWND control, const shell::TPlacement& placement) {
        shell::TBounds bounds = shell::PlaceControl(placement, L::kClient, client, dpi_);
        bounds.Width = std::max(bounds.Width, TextWidth(control));
        MoveControl(control, bounds);
    };
    label(lbl2_, L::lbl2);
    MoveControl(TxtWebPort_, shell::PlaceControl(L::TxtWebPort, L::kClient, client, dpi_));
    label(lbl3_, L::lbl3);
    MoveControl(txtWebType_, shell::PlaceControl(L::txtWebType, L::kClient, client, dpi_));
    MoveControl(chkCache_, shell::PlaceControl(L::chkCache, L::kClient, client, dpi_));
    MoveControl(chkOpenSound_, shell::PlaceControl(L::chkOpenSound, L::kClient, client, dpi_));
    MoveControl(chkAutoRun_, shell::PlaceControl(L::chkAutoRun, L::kClient, client, dpi_));
    MoveControl(lbl1_, shell::PlaceControl(L::lbl1, L::kClient, client, dpi_));
    MoveControl(btnSaveConfig_, shell::PlaceControl(L::btnSaveConfig, L::kClient, client, dpi_));
}

void TForm2::ShowModal() {
    if (handle_ == nullptr)
        return;
    if (showing_) {
        SetForegroundWindow(handle_);
        return;
    }
    showing_ = true;
    closed_ = false;

    // The size and place for the DPI of the monitor it shows on.
    const int dpi = WindowDpi(handle_);
    if (dpi != dpi_)
        ApplyDpi(dpi);
    PlaceOnScreen(L::kClient, L::kLeft, L::kTop);
    LayoutControls();

    FormShow();
    if (owner_ != nullptr)
        EnableWindow(owner_, FALSE);
    ShowWindow(handle_, SW_SHOW);
    SetForegroundWindow(handle_);
    FocusControl(chkAutoRun_);

    RunMessageLoop([this] { return closed_; });

    // The owner comes back before the dialog goes, so that it takes the activation; a program
    // ending while the dialog is open has destroyed it already.
    if (owner_ != nullptr && IsWindow(owner_))
        EnableWindow(owner_, TRUE);
    if (handle_ != nullptr)
        ShowWindow(handle_, SW_HIDE);
    showing_ = false;
}

void TForm2::Close() {
    closed_ = true;
    if (handle_ != nullptr)
        PostMessageW(handle_, WM_NULL, 0, 0); // wakes the modal loop to see it
}

void TForm2::FormShow() {
    const shell::TSettingsForm values = shell::SettingsFormValues();
    SetControlText(TxtWebPort_, values.PortText);
    SetControlText(txtWebType_, values.TypeText);
    SetChecked(chkCache_, values.Cache);
    SetChecked(chkOpenSound_, values.Sound);
    const shell::TAutostartState autostart = shell::ReadAutostartState();
    if (!autostart.Error.empty()) {
        platform::ShowUserMessage(DialogMessage(autostart.Error, platform::UserMessageKind::Error,
                                                shell::kNoticeCaption));
        return;
    }
    SetChecked(chkAutoRun_, autostart.On);
}

void TForm2::btnSaveConfigClick() {
    shell::TSettingsForm form;
    form.PortText = ControlText(TxtWebPort_);
    form.TypeText = ControlText(txtWebType_);
    form.Cache = IsChecked(chkCache_);
    form.Sound = IsChecked(chkOpenSound_);
    const shell::TSettingsSaveResult result = shell::SaveSettings(form);
    if (!result.Valid) {
        platform::ShowUserMessage(DialogMessage(result.Message, platform::UserMessageKind::Plain));
        HWND box = result.Focus == shell::TSettingsFocus::Type ? txtWebType_ : TxtWebPort_;
        FocusControl(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        return;
    }
    // New values in memory take effect at once (the beep), even when the file could not be
    // written.
    if (result.Changed && settingsChanged_)
        settingsChanged_();
    if (!result.SaveError.empty()) {
        // The values stay in memory; no change notice, no autostart step, the dialog stays open.
        platform::ShowUserMessage(
            DialogMessage(result.SaveError, platform::UserMessageKind::Error));
        return;
    }
    if (result.Saved)
        platform::ShowUserMessage(DialogMessage(result.Message, platform::UserMessageKind::Plain));

    const shell::TAutostartStep step = shell::ChangeAutostart(IsChecked(chkAutoRun_), program_);
    if (!step.Message.Text.empty())
        platform::ShowUserMessage(step.Message);
    if (step.Change != shell::TAutostartChange::Failed)
        Close();
}

} // namespace zir::win32
