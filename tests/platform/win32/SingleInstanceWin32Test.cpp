#include "platform/RunningInstance.h"
#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace zir::platform;

// One instance per session, whatever the settings file: the named mutex.
TEST(SingleInstanceWin32, OneMarkPerSessionUntilItIsGiven) {
    auto first = SingleInstance::Acquire("a.INI");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SingleInstance::Acquire("b.INI"), nullptr);
    first.reset();
    EXPECT_NE(SingleInstance::Acquire("b.INI"), nullptr);
}

TEST(RunningInstanceWin32, TheMainWindowGetsTheSettingsMessage) {
    // A program of its own names, so that a zir running in the session is not disturbed.
    const wchar_t* const kMainWindowClassName = L"zir.TestMainWindow";
    const wchar_t* const kSettingsChangedMessageName = L"zir.TestSettingsChanged";
    const TRunningInstanceAddress address{kMainWindowClassName, kSettingsChangedMessageName};
    EXPECT_FALSE(NotifyRunningInstance("zir.INI", address));

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kMainWindowClassName;
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowW(kMainWindowClassName, L"zir", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(NotifyRunningInstance("zir.INI", address));
    const UINT expected = RegisterWindowMessageW(kSettingsChangedMessageName);
    MSG message{};
    EXPECT_TRUE(PeekMessageW(&message, window, expected, expected, PM_REMOVE));
    DestroyWindow(window);
    UnregisterClassW(kMainWindowClassName, windowClass.hInstance);
}
