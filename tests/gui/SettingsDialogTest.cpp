// The settings dialog, opened from the tray menu: each check's message and the focus it leaves,
// a save only when something changed, and the Startup shortcut switched on and off.

#include "GuiFixture.h"

#include "shell/common/StartupShortcutRules.h"
#include "shell/win32/ControlIds.h"

#include <objbase.h>
#include <shlobj.h>

namespace zir::gui {
namespace {

using namespace zir::win32;

class SettingsDialogTest : public GuiTest {
  protected:
    HWND Open() {
        // A dialog that a save just closed may still be on screen for a moment: the new one is
        // only told from it once it has gone.
        HWND previous = zir->TopWindow(kSettingsWindowClass, true, std::chrono::milliseconds(0));
        if (previous != nullptr) {
            EXPECT_TRUE(
                WaitUntil([&] { return !IsWindowVisible(previous); }, std::chrono::seconds(3)));
        }
        PostMessageW(main, WM_COMMAND, IDM_N2, 0);
        HWND dialog = zir->TopWindow(kSettingsWindowClass, true);
        EXPECT_NE(dialog, nullptr);
        if (dialog != nullptr) {
            EXPECT_EQ(Text(dialog), "系统设置");
        }
        return dialog;
    }

    // Sets port and type, presses the button, and returns the box that follows ("" for none).
    std::string Save(HWND dialog, const std::string& portText, const std::string& typeText) {
        SetText(Control(dialog, IDC_TxtWebPort), portText);
        SetText(Control(dialog, IDC_txtWebType), typeText);
        Click(Control(dialog, IDC_btnSaveConfig));
        MessageBoxSeen box = zir->WaitForMessageBox(std::chrono::seconds(3));
        if (box.Window == nullptr)
            return "";
        lastCaption = box.Caption;
        Answer(box, IDOK);
        return box.Text;
    }

    std::string Settings() const { return ReadFileBytes(zir->SettingsFile()); }

    std::string lastCaption;
};

TEST_F(SettingsDialogTest, EachBadValueIsRefusedWithItsMessageAndFocus) {
    Launch();
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const std::string before = Settings();
    struct Case {
        const char* Port;
        const char* Type;
        const char* Message;
        int Focus;
    };
    const Case cases[] = {
        {"   ", "0", "服务端口不能为空", IDC_TxtWebPort},
        {"", "0", "服务端口不能为空", IDC_TxtWebPort},
        {"65536", "0", "服务端口设置无效", IDC_TxtWebPort},
        {"-1", "0", "服务端口设置无效", IDC_TxtWebPort},
        {"8x", "0", "服务端口设置无效", IDC_TxtWebPort},
        {"80", " ", "服务类别不能为空", IDC_txtWebType},
        {"80", "2.5", "服务类别设置无效[整数]", IDC_txtWebType},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Port) + " / " + c.Type);
        EXPECT_EQ(Save(dialog, c.Port, c.Type), c.Message);
        EXPECT_EQ(lastCaption, "zir服务");
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == Control(dialog, c.Focus); },
                              std::chrono::seconds(6)))
            << "focus on " << FocusOf(dialog) << " (id " << GetDlgCtrlID(FocusOf(dialog))
            << "), the dialog is " << dialog;
    }
    EXPECT_EQ(Settings(), before);
}

TEST_F(SettingsDialogTest, GoodValuesAreSavedAndNothingChangedSavesNothing) {
    Launch();
    const std::string portText = std::to_string(port);
    struct Case {
        std::string Port;
        const char* Type;
        const char* SavedPort;
        const char* SavedType;
    };
    const Case cases[] = {
        {"  65535  ", "-3", "65535", "-3"},
        {"0", "1", "0", "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Port);
        HWND dialog = Open();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Save(dialog, c.Port, c.Type), "服务设置已变更，请重启zir服务。");
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
        const std::string saved = Settings();
        EXPECT_NE(saved.find(std::string("WebPort=") + c.SavedPort), std::string::npos) << saved;
        EXPECT_NE(saved.find(std::string("WebType=") + c.SavedType), std::string::npos) << saved;
    }

    // Shown again: the saved values; saved unchanged: no box, the file as it was, closed.
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(Control(dialog, IDC_TxtWebPort)), "0");
    EXPECT_EQ(Text(Control(dialog, IDC_txtWebType)), "1");
    const std::string before = Settings();
    EXPECT_EQ(Save(dialog, "0", "1"), "");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
    EXPECT_EQ(Settings(), before);
}

TEST_F(SettingsDialogTest, ACacheStoredAsTwoShowsTickedAndSavesOne) {
    Launch(2);
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Checked(Control(dialog, IDC_chkCache)));
    EXPECT_EQ(Save(dialog, std::to_string(port), "0"), "服务设置已变更，请重启zir服务。");
    EXPECT_NE(Settings().find("WebCache=1"), std::string::npos) << Settings();
}

// The Startup shortcut's target, arguments and working folder, read back through the shell.
struct Shortcut {
    std::wstring Target, Arguments, Folder, Description;
};

Shortcut ReadShortcut(const std::wstring& path) {
    Shortcut shortcut;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
                wchar_t text[MAX_PATH * 2] = {};
                link->GetPath(text, MAX_PATH * 2, nullptr, 0);
                shortcut.Target = text;
                text[0] = 0;
                link->GetArguments(text, MAX_PATH * 2);
                shortcut.Arguments = text;
                text[0] = 0;
                link->GetWorkingDirectory(text, MAX_PATH * 2);
                shortcut.Folder = text;
                text[0] = 0;
                link->GetDescription(text, MAX_PATH * 2);
                shortcut.Description = text;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return shortcut;
}

// The Startup folder, when it is a test Wine prefix's (WINEPREFIX, not the user's ~/.wine):
// the test changes the shortcut there and never in a real profile. Empty otherwise.
std::wstring TestPrefixStartupFolder() {
    wchar_t prefix[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH) == 0)
        return {};
    const std::wstring unixPrefix = prefix;
    if (unixPrefix.ends_with(L"/.wine") || unixPrefix.ends_with(L"/.wine/"))
        return {};
    wchar_t startup[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, startup, CSIDL_STARTUP, TRUE))
        return {};
    // Wine's own mapping of a Windows path to the file system.
    using UnixName = char* (*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixName == nullptr)
        return {};
    char* mapped = unixName(startup);
    const bool inPrefix = mapped != nullptr && Wide(mapped).rfind(unixPrefix, 0) == 0;
    HeapFree(GetProcessHeap(), 0, mapped);
    return inPrefix ? std::wstring(startup) : std::wstring();
}

TEST_F(SettingsDialogTest, AutostartOnAndOffCreateAndRemoveTheStartupShortcut) {
    const std::wstring startup = TestPrefixStartupFolder();
    if (startup.empty())
        GTEST_SKIP() << "runs only in a test Wine prefix: it changes the Startup folder";
    const std::wstring link = startup + L"\\starttarvo.lnk";
    DeleteFileW(link.c_str());
    Launch();

    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(Checked(Control(dialog, IDC_chkAutoRun)));
    SetChecked(Control(dialog, IDC_chkAutoRun), true);
    // Nothing else changed: the autostart notice alone, and the dialog is disabled under it.
    SetText(Control(dialog, IDC_TxtWebPort), std::to_string(port));
    SetText(Control(dialog, IDC_txtWebType), "0");
    Click(Control(dialog, IDC_btnSaveConfig));
    MessageBoxSeen notice = zir->WaitForMessageBox(std::chrono::seconds(3));
    ASSERT_NE(notice.Window, nullptr);
    EXPECT_EQ(notice.Text, "开机自启动已打开");
    EXPECT_EQ(notice.Caption, "提示信息");
    EXPECT_FALSE(IsWindowEnabled(dialog));
    Answer(notice, IDOK);
    ASSERT_TRUE(FileExists(link));
    Shortcut shortcut = ReadShortcut(link);
    const std::wstring folderOfProgram = BinFolder() + L"\\";
    EXPECT_EQ(_wcsicmp(shortcut.Target.c_str(), (folderOfProgram + L"zir.exe").c_str()), 0)
        << Utf8(shortcut.Target);
    // Started with its own settings file, the program starts with it at log-on too.
    EXPECT_EQ(Utf8(shortcut.Arguments),
              shell::WindowsCommandLine({"--config", Utf8(zir->SettingsFile())}));
    EXPECT_EQ(_wcsicmp(shortcut.Folder.c_str(), folderOfProgram.c_str()), 0)
        << Utf8(shortcut.Folder);
    EXPECT_EQ(Utf8(shortcut.Description), "zir服务");

    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(Checked(Control(dialog, IDC_chkAutoRun)));
    SetChecked(Control(dialog, IDC_chkAutoRun), false);
    EXPECT_EQ(Save(dialog, std::to_string(port), "0"), "开机自启动已关闭");
    EXPECT_FALSE(FileExists(link));
}

// Closed by a message from another program (a session ending, a window tool), the dialog goes at
// once and gives the main window back; nothing is saved and the dialog opens again.
TEST_F(SettingsDialogTest, ACloseSentFromOutsideEndsTheDialog) {
    Launch();
    const std::string before = Settings();
    for (UINT close : {UINT(WM_CLOSE), UINT(WM_SYSCOMMAND)}) {
        SCOPED_TRACE(close);
        HWND dialog = Open();
        ASSERT_NE(dialog, nullptr);
        ASSERT_FALSE(IsWindowEnabled(main));
        SetText(Control(dialog, IDC_TxtWebPort), "1");
        DWORD_PTR result = 0;
        SendMessageTimeoutW(dialog, close, close == WM_SYSCOMMAND ? SC_CLOSE : 0, 0, SMTO_NORMAL,
                            5000, &result);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, std::chrono::seconds(3)));
        EXPECT_TRUE(
            WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, std::chrono::seconds(3)));
    }
    EXPECT_EQ(Settings(), before);
    EXPECT_FALSE(HttpGet(port, "/?type=UID").empty());
}

} // namespace
} // namespace zir::gui
