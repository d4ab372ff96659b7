#include "shell/win32/TrayProgram.h"

#include "config/ConfigHelper.h"
#include "core/CardService.h"
#include "core/ServiceLog.h"
#include "platform/SingleInstance.h"
#include "platform/UserMessage.h"
#include "shell/common/Autostart.h"
#include "shell/common/LogLineWriter.h"
#include "shell/common/ProgramNames.h"
#include "shell/common/ProgramStart.h"
#include "shell/common/SettingsLoad.h"
#include "shell/win32/MainForm1.h"
#include "shell/win32/MessageLoop.h"
#include "shell/win32/SetupForm.h"
#include "shell/win32/StandardStreams.h"
#include "shell/win32/UserMessages.h"

#include <atomic>
#include <commctrl.h>
#include <memory>

namespace zir::win32 {

namespace {

const char* const kAlreadyRunning = "zir服务已启动";

// The service log on the standard output, when the program was started with one: the same
// lines the Linux program prints, through a writer that never lets a stalled reader hold up a
// worker.
std::unique_ptr<shell::LogLineWriter> StandardOutputLog() {
    if (!StandardOutput().Present())
        return nullptr;
    return std::make_unique<shell::LogLineWriter>(
        [](std::string_view bytes) { return StandardOutput().Write(bytes); });
}

} // namespace

int RunTrayProgram(const shell::CommandLine& line) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Until the windows exist, boxes have no owner.
    HWND mainWindow = nullptr;
    HWND settingsWindow = nullptr;
    // Read by workers whose boxes are shown on the UI thread.
    std::atomic<TForm1*> form1{nullptr};
    // The handler refers to this function's windows: it goes when they go.
    struct HandlerScope {
        ~HandlerScope() { platform::SetUserMessageHandler(nullptr); }
    } handlerScope;
    InstallMessageBoxes({
        .OwnerWindow =
            [&](platform::UserMessageOwner owner) {
                switch (owner) {
                case kMainWindowOwner:
                    return mainWindow;
                case kSettingsDialogOwner:
                    return settingsWindow;
                case platform::kNoOwner:
                    break;
                }
                return HWND{nullptr};
            },
        .RunOnUiThread =
            [&](std::function<void()> task) {
                TForm1* form = form1.load();
                return form != nullptr && form->RunOnUiThread(std::move(task));
            },
    });

    // The mutex is the session's, whatever the settings file; a second instance ends before it
    // loads the reader library, which the first one is using.
    auto instanceMark = platform::SingleInstance::Acquire(std::string());
    if (!instanceMark) {
        platform::UserMessage notice;
        notice.Text = kAlreadyRunning;
        notice.Caption = shell::kNoticeCaption;
        platform::ShowUserMessage(notice);
        return 1;
    }

    const auto cards = shell::PrepareProgram(line);
    shell::LoadSettings();

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    if (!TForm1::RegisterWindowClasses(instance) || !TForm2::RegisterWindowClass(instance))
        return 1;

    std::unique_ptr<shell::LogLineWriter> stdoutLog = StandardOutputLog();
    int status = 0;
    {
        core::CardService service(*cards);
        TForm2 settings(shell::AutostartProgramFor(line));
        TForm1 mainForm(service, settings);
        form1 = &mainForm;
        settings.SetSettingsChangedHandler([&mainForm] { mainForm.ApplyChangedSettings(); });

        // Every line to the standard output (it outlives the window: the stop at the end still
        // logs there) and to mmo1 while the window exists.
        core::SetServiceLogSink([&mainForm, log = stdoutLog.get()](const std::string& text) {
            if (log != nullptr)
                log->Write(text);
            mainForm.LogLine(text);
        });

        if (!mainForm.Create())
            status = 1;
        mainWindow = mainForm.Handle();
        if (status == 0 && !settings.Create(mainWindow))
            status = 1;
        settingsWindow = settings.Handle();

        if (status == 0)
            status = RunMessageLoop();

        // From here on no window: the last lines go to the standard output only.
        core::SetServiceLogSink([log = stdoutLog.get()](const std::string& text) {
            if (log != nullptr)
                log->Write(text);
        });
        mainWindow = settingsWindow = nullptr;
        form1 = nullptr;
    }
    core::SetServiceLogSink(nullptr);
    if (stdoutLog)
        stdoutLog->Stop();
    return status;
}

} // namespace zir::win32
