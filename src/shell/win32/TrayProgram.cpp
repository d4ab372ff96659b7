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
#include "shell/common/SettingsApply.h"
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
// worker. The standard error's notes get one of their own.
std::shared_ptr<shell::LogLineWriter> BoundedWriter(StandardStream& stream) {
    if (!stream.Present())
        return nullptr;
    return std::make_shared<shell::LogLineWriter>(
        [&stream](std::string_view bytes) { return stream.Write(bytes); });
}

// The sink that outlives the windows: the standard output only.
core::ServiceLogSink StandardOutputSink(std::shared_ptr<shell::LogLineWriter> log) {
    return [log = std::move(log)](const std::string& text) {
        if (log)
            log->Write(text);
    };
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

    const std::shared_ptr<shell::LogLineWriter> stdoutLog = BoundedWriter(StandardOutput());
    const std::shared_ptr<shell::LogLineWriter> stderrLog = BoundedWriter(StandardError());
    RouteStandardErrorThrough(stderrLog.get());
    // Every way out, an early return or an exception included: the writers take what is
    // queued (bounded by their stop wait) and nothing refers to them after.
    struct Outputs {
        std::shared_ptr<shell::LogLineWriter> out, err;
        ~Outputs() {
            core::SetServiceLogSink(nullptr);
            RouteStandardErrorThrough(nullptr);
            if (out)
                out->Stop();
            if (err)
                err->Stop();
        }
    } outputs{stdoutLog, stderrLog};
    int status = 0;
    {
        core::CardService service(*cards);
        TForm2 settings(shell::AutostartProgramFor(line));
        TForm1 mainForm(service, settings);
        // Declared after the window, so it goes first: the sink never refers to a window
        // that is gone, whatever way this block is left. The lines of the service's own stop
        // (the service goes last) still reach the standard output.
        struct WindowSink {
            std::shared_ptr<shell::LogLineWriter> log;
            HWND* main;
            HWND* settings;
            std::atomic<TForm1*>* form;
            ~WindowSink() {
                core::SetServiceLogSink(StandardOutputSink(log));
                *main = *settings = nullptr;
                *form = nullptr;
            }
        } windowSink{stdoutLog, &mainWindow, &settingsWindow, &form1};
        form1 = &mainForm;
        settings.SetSettingsChangedHandler([&mainForm] { mainForm.ApplyChangedSettings(); });

        // Every line to the standard output and to mmo1 while the window exists.
        core::SetServiceLogSink(
            [&mainForm, out = StandardOutputSink(stdoutLog)](const std::string& text) {
                out(text);
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
        else if (service.Running())
            // A window that could not be made: the service its creation started stops here,
            // logged as on the quit, before the window and the sink go.
            shell::StopUntilStopped(service);

        if (mainForm.EndedWithoutWaiting()) {
            // A reader call that never returns holds the service's stop and the test read: the
            // destructors would wait for ever. The icon is gone with the window; the last log
            // lines get their bounded wait, then the process ends here.
            core::SetServiceLogSink(StandardOutputSink(stdoutLog));
            if (stdoutLog)
                stdoutLog->Stop();
            if (stderrLog)
                stderrLog->Stop();
            TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
        }
    }
    return status;
}

} // namespace zir::win32
