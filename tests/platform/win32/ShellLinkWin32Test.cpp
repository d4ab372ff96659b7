#include "platform/ShellLink.h"

#include "TestSupport.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "platform/win32/ComPtr.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

using namespace zir::platform;

namespace {

// The fields of a link file as the shell reads them back.
ShellLinkFields ReadShellLink(const std::string& linkPath) {
    ShellLinkFields fields;
    const bool com = SUCCEEDED(CoInitialize(nullptr));
    {
        ComPtr<IShellLinkW> link;
        ComPtr<IPersistFile> file;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkW, link.OutVoid())) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.OutVoid())) &&
            SUCCEEDED(file->Load(Utf8ToWide(linkPath).c_str(), STGM_READ))) {
            wchar_t text[1024] = {};
            link->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
            fields.Target = WideToUtf8(text);
            link->GetArguments(text, 1024);
            fields.Arguments = WideToUtf8(text);
            link->GetWorkingDirectory(text, 1024);
            fields.WorkingFolder = WideToUtf8(text);
            link->GetDescription(text, 1024);
            fields.Description = WideToUtf8(text);
        }
    }
    if (com)
        CoUninitialize();
    return fields;
}

} // namespace

TEST(ShellLinkWin32, WhatIsWrittenReadsBackInChinese) {
    zir::test::TempDir dir;
    const std::string folder = dir.File("读卡服务");
    std::filesystem::create_directory(PathFromUtf8(folder));
    // The target in an ASCII folder: Wine's shell link hands a target path back through the
    // ANSI code page.
    const std::string target = dir.File("zir.exe");
    zir::test::WriteFileBytes(target, "MZ");
    ShellLinkFields fields{target, "--config \"" + folder + "\\zir.INI\"", folder, "zir服务"};
    const std::string link = dir.File("zir服务.lnk");
    WriteShellLink(link, fields);
    ShellLinkFields back = ReadShellLink(link);
    EXPECT_EQ(back.Target, fields.Target);
    EXPECT_EQ(back.Arguments, fields.Arguments);
    EXPECT_EQ(back.WorkingFolder, fields.WorkingFolder);
    EXPECT_EQ(back.Description, fields.Description);
}

TEST(ShellLinkWin32, ALinkThatCannotBeSavedIsAnError) {
    zir::test::TempDir dir;
    ShellLinkFields fields{dir.File("zir.exe"), "", dir.Path(), "zir服务"};
    EXPECT_THROW(WriteShellLink(dir.File("none") + "\\zir.lnk", fields), std::runtime_error);
    EXPECT_FALSE(zir::test::FileExists(dir.File("none") + "\\zir.lnk"));
}

TEST(ShellLinkWin32, TheStartupFolderExists) {
    const std::string folder = StartupFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(folder))) << folder;
}
