#include "shell/common/SettingsSave.h"
#include "config/ConfigHelper.h"
#include "reader/ReaderApi.h"

#include "support/ScopedSettings.h"
#include "support/ScriptedVendor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using zir::config::TConfigHelper;
using zir::shell::SaveSettings;
using zir::shell::SettingsFormValues;
using zir::shell::TSettingsFocus;
using zir::shell::TSettingsForm;

namespace {

class SettingsSave : public ::testing::Test {
  protected:
    void SetUp() override { settings.UseFile(dir.File("zir.INI")); }
    static void Set(int32_t port, int32_t type, int32_t cache, int32_t sound) {
        zir::test::ScopedSettings::Set({port, type, cache, sound});
    }

    zir::test::TempDir dir;
    zir::test::ScopedSettings settings{{80, 0, 1, 1}};
    zir::test::ScriptedVendor reader;
    const std::vector<int32_t>& beeps = reader.Beeps;
};

} // namespace

TEST_F(SettingsSave, TheFormShowsTheSettings) {
    Set(8080, -3, 2, 0);
    TSettingsForm form = SettingsFormValues();
    EXPECT_EQ(form.PortText, "8080");
    EXPECT_EQ(form.TypeText, "-3");
    EXPECT_TRUE(form.Cache); // anything but 0 shows ticked
    EXPECT_FALSE(form.Sound);
}

TEST_F(SettingsSave, AFailedCheckNamesTheBoxAndChangesNothing) {
    auto result = SaveSettings({" \t", "1", true, true});
    EXPECT_FALSE(result.Valid);
    EXPECT_EQ(result.Message, "服务端口不能为空");
    EXPECT_EQ(result.Focus, TSettingsFocus::Port);
    result = SaveSettings({"70000", "1", true, true});
    EXPECT_EQ(result.Message, "服务端口设置无效");
    EXPECT_EQ(result.Focus, TSettingsFocus::Port);
    result = SaveSettings({"81", "", true, true});
    EXPECT_EQ(result.Message, "服务类别不能为空");
    EXPECT_EQ(result.Focus, TSettingsFocus::Type);
    result = SaveSettings({"81", "1 2", true, true});
    EXPECT_EQ(result.Message, "服务类别设置无效[整数]");
    EXPECT_EQ(result.Focus, TSettingsFocus::Type);
    EXPECT_FALSE(result.Saved);
    EXPECT_TRUE(beeps.empty());
    EXPECT_EQ(TConfigHelper::GetConfig().WebPort, 80);
    EXPECT_FALSE(zir::test::FileExists(dir.File("zir.INI")));
}

TEST_F(SettingsSave, AChangeSetsAllFourAndSavesWithoutCallingTheReader) {
    auto result = SaveSettings({"\r\n8080 ", "2", false, false});
    EXPECT_TRUE(result.Valid);
    EXPECT_TRUE(result.Changed);
    EXPECT_TRUE(result.Saved);
    EXPECT_EQ(result.Message, "服务设置已变更，请重启zir服务。");
    // `zir settings` saves beside the running service: the beep is the running program's.
    EXPECT_TRUE(beeps.empty());
    auto rec = TConfigHelper::GetConfig();
    EXPECT_EQ(rec.WebPort, 8080);
    EXPECT_EQ(rec.WebType, 2);
    EXPECT_EQ(rec.WebCache, 0);
    EXPECT_EQ(rec.WebSound, 0);
    EXPECT_EQ(zir::test::ReadFileBytes(dir.File("zir.INI")),
              "WebPort=8080\r\nWebType=2\r\nWebCache=0\r\nWebSound=0\r\n");

    // Nothing changed: no save, no message.
    result = SaveSettings(SettingsFormValues());
    EXPECT_TRUE(result.Valid);
    EXPECT_FALSE(result.Changed);
    EXPECT_FALSE(result.Saved);
    EXPECT_EQ(result.Message, "");
}

TEST_F(SettingsSave, AFailedWriteKeepsTheNewValuesAndWithholdsTheNotice) {
    settings.UseFile(dir.File("missing/zir.INI"));
    auto result = SaveSettings({"81", "0", true, true});
    EXPECT_TRUE(result.Valid);
    EXPECT_TRUE(result.Changed); // the running program still applies them
    EXPECT_FALSE(result.Saved);
    EXPECT_EQ(result.Message, "");
    EXPECT_NE(result.SaveError, "");
    EXPECT_EQ(TConfigHelper::GetConfig().WebPort, 81);
    EXPECT_TRUE(beeps.empty());
}

TEST_F(SettingsSave, WebOriginsIsCheckedAndTheDialogWhichHasNoBoxForItKeepsIt) {
    const std::string ini = dir.File("zir.INI");
    const std::string four = "WebPort=80\r\nWebType=0\r\nWebCache=1\r\nWebSound=1\r\n";
    TSettingsForm form = SettingsFormValues();
    form.OriginsText = "https://desk.example.com/";
    auto result = SaveSettings(form);
    EXPECT_FALSE(result.Valid);
    EXPECT_EQ(result.Message, "WebOrigins: 'https://desk.example.com/' is not an origin "
                              "(scheme://host[:port], null or *)");
    EXPECT_FALSE(zir::test::FileExists(ini));
    EXPECT_EQ(TConfigHelper::GetWebOrigins(), "");

    form.OriginsText = " https://desk.example.com, null ";
    EXPECT_TRUE(SaveSettings(form).Saved);
    EXPECT_EQ(zir::test::ReadFileBytes(ini),
              four + "WebOrigins=https://desk.example.com, null\r\n");
    EXPECT_FALSE(SaveSettings(form).Changed);

    // The dialog's form, built from its boxes alone.
    EXPECT_TRUE(SaveSettings({"8080", "0", true, true}).Saved);
    EXPECT_EQ(zir::test::ReadFileBytes(ini),
              "WebPort=8080\r\nWebType=0\r\nWebCache=1\r\nWebSound=1\r\n"
              "WebOrigins=https://desk.example.com, null\r\n");

    form = SettingsFormValues();
    form.OriginsText = "";
    EXPECT_TRUE(SaveSettings(form).Saved);
    EXPECT_EQ(zir::test::ReadFileBytes(ini),
              "WebPort=8080\r\nWebType=0\r\nWebCache=1\r\nWebSound=1\r\n");
}

TEST_F(SettingsSave, WithoutAReaderLibraryTheSaveStillWorks) {
    reader.Install(zir::reader::TReaderApi{});
    EXPECT_TRUE(SaveSettings({"81", "0", true, true}).Saved);
}
