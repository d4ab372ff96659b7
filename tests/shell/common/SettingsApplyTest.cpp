// Applying settings in the running program: the beep under the card-operation lock, the reload
// with its outcomes, and the start.

#include "shell/common/SettingsApply.h"
#include "shell/common/ProgramStart.h"

#include "config/ConfigHelper.h"
#include "core/CardLock.h"
#include "core/CardService.h"
#include "reader/ReaderApi.h"

#include "support/RawHttpClient.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedVendor.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using zir::config::TConfigHelper;
using zir::shell::ApplySettings;
using zir::shell::ReloadSettings;
using zir::shell::TReloadOutcome;

namespace {

class SettingsApply : public ::testing::Test {
  protected:
    void SetUp() override {
        // A UID read stays inside the library for a while; each beep notes whether another
        // call was inside when it came.
        reader.UidDelayMs = 300;
        settings.UseFile(ini);
        Write(zir::test::FreeLoopbackPort(), 0, 1, 1);
        ASSERT_TRUE(TConfigHelper::LoadConfig());
    }
    void Write(int port, int type, int cache, int sound) {
        zir::test::WriteFileBytes(ini, "WebPort=" + std::to_string(port) +
                                           "\r\nWebType=" + std::to_string(type) +
                                           "\r\nWebCache=" + std::to_string(cache) +
                                           "\r\nWebSound=" + std::to_string(sound) + "\r\n");
    }

    zir::test::ScopedSettings settings;
    zir::test::ScriptedVendor reader;
    const std::vector<int32_t>& beeps = reader.Beeps;
    zir::test::TempDir dir;
    std::string ini = dir.File("zir.INI");
};

} // namespace

TEST_F(SettingsApply, TheBeepWaitsForAReadInProgress) {
    std::thread request([this] {
        zir::core::TIdCardRec rec;
        reader.Cards().ReadUid(zir::core::LockCardOperation(), rec);
    });
    while (!reader.UidInside)
        std::this_thread::yield();
    ApplySettings(reader.Cards());
    request.join();
    EXPECT_EQ(beeps, std::vector<int32_t>{1});
    EXPECT_EQ(reader.BeepOverlapped, std::vector<bool>{false});
}

TEST_F(SettingsApply, OnlyWebSoundOneSwitchesTheBeepOn) {
    for (int32_t sound : {1, 0, 2, -1}) {
        settings.Set({.WebSound = sound});
        ApplySettings(reader.Cards());
    }
    EXPECT_EQ(beeps, (std::vector<int32_t>{1, 0, 0, 0}));
}

TEST_F(SettingsApply, TheRunningProgramsSaveSwitchesTheBeepWhenAnythingChanged) {
    auto form = zir::shell::SettingsFormValues();
    EXPECT_FALSE(zir::shell::SaveSettingsAndApply(reader.Cards(), form).Changed);
    EXPECT_TRUE(beeps.empty());
    form.TypeText = "1"; // any change switches the beep to the sound box, as the dialog does
    EXPECT_TRUE(zir::shell::SaveSettingsAndApply(reader.Cards(), form).Saved);
    form.Sound = false;
    EXPECT_TRUE(zir::shell::SaveSettingsAndApply(reader.Cards(), form).Saved);
    EXPECT_EQ(beeps, (std::vector<int32_t>{1, 0}));
    form.PortText = "70000";
    EXPECT_FALSE(zir::shell::SaveSettingsAndApply(reader.Cards(), form).Valid);
    EXPECT_EQ(beeps.size(), 2u);
}

TEST_F(SettingsApply, AReloadAppliesWhatChangedAndABadFileChangesNothing) {
    zir::core::CardService service{
        reader.Cards()}; // not running: a new port waits for the next start
    const int port = TConfigHelper::GetConfig().WebPort;

    EXPECT_EQ(ReloadSettings(service), TReloadOutcome::Reloaded);
    EXPECT_TRUE(beeps.empty()); // nothing changed, nothing to switch

    Write(port + 1, 1, 0, 0);
    EXPECT_EQ(ReloadSettings(service), TReloadOutcome::Reloaded);
    EXPECT_EQ(beeps, std::vector<int32_t>{0});
    EXPECT_EQ(TConfigHelper::GetConfig().WebType, 1);
    EXPECT_FALSE(service.Running());

    zir::test::WriteFileBytes(ini, "WebPort=1\r\nWebType=9x\r\n");
    EXPECT_EQ(ReloadSettings(service), TReloadOutcome::Unchanged);
    const auto kept = TConfigHelper::GetConfig();
    EXPECT_EQ(kept.WebPort, port + 1); // the half-loaded port is undone
    EXPECT_EQ(kept.WebType, 1);
    EXPECT_EQ(beeps.size(), 1u);

    EXPECT_STREQ(zir::shell::ReloadNote(TReloadOutcome::Reloaded), "zir: settings reloaded");
    EXPECT_STREQ(zir::shell::ReloadNote(TReloadOutcome::Unchanged), "zir: settings unchanged");
}

TEST_F(SettingsApply, AReloadTakesUpWebOriginsAndABadListLeavesTheOneInEffect) {
    zir::core::CardService service{reader.Cards()};
    const std::string port = std::to_string(TConfigHelper::GetConfig().WebPort);
    zir::test::WriteFileBytes(ini,
                              "WebPort=" + port + "\r\nWebOrigins=https://desk.example.com\r\n");
    EXPECT_EQ(ReloadSettings(service), TReloadOutcome::Reloaded);
    EXPECT_EQ(TConfigHelper::GetWebOrigins(), "https://desk.example.com");

    zir::test::WriteFileBytes(ini,
                              "WebPort=" + port + "\r\nWebOrigins=https://desk.example.com/\r\n");
    EXPECT_EQ(ReloadSettings(service), TReloadOutcome::Unchanged);
    EXPECT_EQ(TConfigHelper::GetWebOrigins(), "https://desk.example.com");
    EXPECT_TRUE(TConfigHelper::WebOriginRules()->Allows("https://desk.example.com"));
}

TEST_F(SettingsApply, TheStartBeepsAndANewPortMovesTheRunningService) {
    zir::core::CardService service{reader.Cards()};
    const int first = TConfigHelper::GetConfig().WebPort;
    ASSERT_TRUE(zir::shell::StartService(service));
    EXPECT_EQ(beeps, std::vector<int32_t>{1});
    EXPECT_TRUE(zir::test::RawHttpClient::CanConnect(first, "127.0.0.1"));

    const int second = zir::test::FreeLoopbackPort();
    Write(second, 0, 1, 1);
    EXPECT_EQ(ReloadSettings(service), TReloadOutcome::Reloaded);
    EXPECT_TRUE(service.Running());
    EXPECT_TRUE(zir::test::RawHttpClient::CanConnect(second, "127.0.0.1"));
    EXPECT_FALSE(zir::test::RawHttpClient::CanConnect(first, "127.0.0.1"));

    // A port another program holds: stopped, and the start fails.
    zir::test::HeldLoopbackPort held;
    ASSERT_NE(held.Port(), 0);
    Write(held.Port(), 0, 1, 1);
    EXPECT_EQ(ReloadSettings(service), TReloadOutcome::StartFailed);
    EXPECT_FALSE(service.Running());
}
