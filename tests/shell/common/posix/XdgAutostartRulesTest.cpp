// The autostart step's rules and messages, through the XDG entry of this system.

#include "shell/common/Autostart.h"

#include "platform/Environment.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace zir::shell;
using zir::platform::UserMessageKind;

namespace {

class AutostartRules : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = zir::platform::GetEnvironmentValue("XDG_CONFIG_HOME");
        zir::platform::SetEnvironmentValue("XDG_CONFIG_HOME", dir.Path());
        program.Executable = "/opt/zir/zir";
        program.ConfigFile = "/etc/zir.INI";
    }
    void TearDown() override { zir::platform::SetEnvironmentValue("XDG_CONFIG_HOME", saved); }

    zir::test::TempDir dir;
    std::optional<std::string> saved;
    TAutostartProgram program;
    std::string entry = dir.File("autostart/starttarvo.desktop");
};

} // namespace

TEST_F(AutostartRules, OnAndOffAreAnnouncedAsInformationWithoutOwner) {
    EXPECT_EQ(AutostartEntryPath(), entry);
    EXPECT_FALSE(ReadAutostartState().On);

    auto step = ChangeAutostart(true, program);
    EXPECT_EQ(step.Change, TAutostartChange::SwitchedOn);
    EXPECT_EQ(step.Message.Text, "开机自启动已打开");
    EXPECT_EQ(step.Message.Kind, UserMessageKind::Information);
    EXPECT_EQ(step.Message.Caption, "提示信息");
    EXPECT_EQ(step.Message.Owner, zir::platform::kNoOwner);
    EXPECT_NE(zir::test::ReadFileBytes(entry).find("Exec=\"/opt/zir/zir\" \"--config\" "
                                                   "\"/etc/zir.INI\"\n"),
              std::string::npos);
    EXPECT_TRUE(ReadAutostartState().On);

    // Wanted and there, or unwanted and missing: nothing is done and nothing is said.
    zir::test::WriteFileBytes(entry, "kept");
    step = ChangeAutostart(true, program);
    EXPECT_EQ(step.Change, TAutostartChange::None);
    EXPECT_EQ(step.Message.Text, "");
    EXPECT_EQ(zir::test::ReadFileBytes(entry), "kept");

    step = ChangeAutostart(false, program);
    EXPECT_EQ(step.Change, TAutostartChange::SwitchedOff);
    EXPECT_EQ(step.Message.Text, "开机自启动已关闭");
    EXPECT_EQ(step.Message.Kind, UserMessageKind::Information);
    EXPECT_FALSE(zir::test::FileExists(entry));
    EXPECT_EQ(ChangeAutostart(false, program).Change, TAutostartChange::None);
}

TEST_F(AutostartRules, AFailureIsAnErrorBoxWithTheReason) {
    zir::test::WriteFileBytes(dir.File("autostart"), "a file where the folder should be");
    auto step = ChangeAutostart(true, program);
    EXPECT_EQ(step.Change, TAutostartChange::Failed);
    EXPECT_EQ(step.Message.Text.rfind("开机自启动设置失败-", 0), 0u) << step.Message.Text;
    EXPECT_GT(step.Message.Text.size(), std::string("开机自启动设置失败-").size());
    EXPECT_EQ(step.Message.Kind, UserMessageKind::Error);
    EXPECT_EQ(step.Message.Caption, "提示信息");
}
