#include "platform/Sockets.h"
#include "platform/SystemError.h"
#include "platform/Utf8Codec.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace zir::platform;

TEST(SystemErrorWin32, TheSystemsTextOnOneLineWithoutItsFullStop) {
    // Winsock's codes are left out: Wine has no texts for them.
    const unsigned long codes[] = {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED,
                                   ERROR_SHARING_VIOLATION};
    for (unsigned long code : codes) {
        const std::string text = SystemErrorText(code);
        SCOPED_TRACE(code);
        EXPECT_NE(text, "error " + std::to_string(code));
        EXPECT_TRUE(IsValidUtf8(text)) << text;
        EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), '.') << text;
    }
    EXPECT_EQ(SocketErrorText(WSAEADDRINUSE), SystemErrorText(WSAEADDRINUSE) + ".");
}

TEST(SystemErrorWin32, ACodeWithoutTextIsNamedByItsNumber) {
    EXPECT_EQ(SystemErrorText(0x2FFFFFFFul), "error 805306367");
}

TEST(SystemErrorWin32, AnErrorCodeOfTheSystemIsTheWideTextNotTheAnsiOne) {
    // std::error_code::message() goes through the ANSI code page: on a Chinese or a Western one
    // its bytes are no UTF-8.
    const std::error_code denied(ERROR_ACCESS_DENIED, std::system_category());
    EXPECT_EQ(ErrorCodeText(denied), SystemErrorText(ERROR_ACCESS_DENIED));
    const std::error_code generic = std::make_error_code(std::errc::no_such_file_or_directory);
    EXPECT_EQ(ErrorCodeText(generic), generic.message());
}
