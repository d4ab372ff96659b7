#pragma once

// A started zir.exe on a free port with its own folder, its main window found, for each test.

#include "GuiDriver.h"

#include <gtest/gtest.h>
#include <memory>

namespace zir::gui {

class GuiTest : public ::testing::Test {
  protected:
    void Launch(int cache = 1) {
        port = FreeLoopbackPort();
        zir = std::make_unique<ZirProcess>(folder, "WebPort=" + std::to_string(port) +
                                                       "\r\nWebType=0\r\nWebCache=" +
                                                       std::to_string(cache) + "\r\nWebSound=1\r\n");
        zir->Start();
        main = zir->MainWindow();
        ASSERT_NE(main, nullptr) << zir->Err();
        ASSERT_TRUE(WaitUntil([&] { return !HttpGet(port, "/?type=UID").empty(); }))
            << zir->Err();
    }

    // The memo's lines without the line breaks' carriage returns.
    static std::string MemoText(HWND memo) {
        std::string text = Text(memo), plain;
        for (char c : text)
            if (c != '\r')
                plain += c;
        return plain;
    }

    TempFolder folder;
    int port = 0;
    std::unique_ptr<ZirProcess> zir;
    HWND main = nullptr;
};

} // namespace zir::gui
