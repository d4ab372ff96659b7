#pragma once

// A started zir.exe on a free port with its own folder, its main window found, for each test.

#include "GuiDriver.h"
#include "shell/win32/ControlIds.h"

#include <gtest/gtest.h>
#include <memory>

namespace zir::gui {

class GuiTest : public ::testing::Test {
  protected:
    void Launch(int cache = 1) {
        StartOn(FreeLoopbackPort(), cache);
        ASSERT_NE(main, nullptr) << zir->Err();
        ASSERT_TRUE(WaitUntil([&] { return !HttpGet(port, "/?type=UID").empty(); })) << zir->Err();
    }

    // Starts the program on a port and finds its window, without waiting for its service.
    void StartOn(int onPort, int cache = 1) {
        port = onPort;
        zir = std::make_unique<ZirProcess>(
            folder, "WebPort=" + std::to_string(port) + "\r\nWebType=0\r\nWebCache=" +
                        std::to_string(cache) + "\r\nWebSound=1\r\n");
        zir->Start();
        main = zir->MainWindow();
        // Found while it is still being created: its controls follow.
        WaitUntil([&] { return main != nullptr && Control(main, win32::IDC_mmo1) != nullptr; });
    }

    // The memo's lines without the line breaks' carriage returns.
    static std::string MemoText(HWND memo) {
        std::string text = Text(memo), plain;
        for (char c : text)
            if (c != '\r')
                plain += c;
        return plain;
    }

    // How often the service log has a line starting with `start`.
    size_t LogLinesStartingWith(const std::string& start) const {
        size_t count = 0;
        for (const std::string& line : MemoLines(Control(main, win32::IDC_mmo1)))
            count += line.rfind(start, 0) == 0 ? 1 : 0;
        return count;
    }

    TempFolder folder;
    int port = 0;
    std::unique_ptr<ZirProcess> zir;
    HWND main = nullptr;
};

} // namespace zir::gui
