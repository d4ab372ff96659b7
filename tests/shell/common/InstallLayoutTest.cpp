#include "shell/common/InstallLayout.h"

#include "TestSupport.h"
#include "platform/Environment.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zir::shell;
using zir::platform::GetEnvironmentValue;
using zir::platform::SetEnvironmentValue;

namespace {

// Sets an environment variable for one test and puts the old value back.
class EnvironmentValue {
  public:
    EnvironmentValue(std::string name, std::optional<std::string> value)
        : name_(std::move(name)), old_(GetEnvironmentValue(name_)) {
        SetEnvironmentValue(name_, value);
    }
    ~EnvironmentValue() { SetEnvironmentValue(name_, old_); }

  private:
    std::string name_;
    std::optional<std::string> old_;
};

std::string Sep() {
    return std::string(1, zir::platform::PathSeparator());
}

} // namespace

// Installed as PREFIX/bin/zir beside PREFIX/lib/zir, the program keeps its settings in the
// user's folder and finds the simulator in the library folder; in a build tree or a Windows
// folder (no lib/zir beside it) both stay beside the program.
TEST(InstallLayout, OnlyAPackageLayoutMovesTheSettingsAndTheSimulator) {
    zir::test::TempDir dir;
    const std::string bin = dir.File("bin");
    std::filesystem::create_directories(zir::platform::PathFromUtf8(bin));
    EXPECT_EQ(PackageLibraryFolder(bin), std::nullopt);
    EXPECT_EQ(PackageSettingsFile(bin), std::nullopt);
    EXPECT_EQ(SimulatorFolder(bin), bin + Sep() + "simulator");

    const std::string library = dir.File("lib") + Sep() + "zir";
    std::filesystem::create_directories(zir::platform::PathFromUtf8(library));
    EXPECT_EQ(zir::platform::PathFromUtf8(*PackageLibraryFolder(bin)),
              zir::platform::PathFromUtf8(library));
    EXPECT_EQ(zir::platform::PathFromUtf8(SimulatorFolder(bin)),
              zir::platform::PathFromUtf8(library + Sep() + "simulator"));
    EnvironmentValue config("XDG_CONFIG_HOME", "/home/desk/.cfg");
    EXPECT_EQ(PackageSettingsFile(bin), "/home/desk/.cfg/zir/zir.INI");

    // The same lib/zir beside a folder that is not called bin is not a package.
    const std::string other = dir.File("programs");
    std::filesystem::create_directories(zir::platform::PathFromUtf8(other));
    EXPECT_EQ(PackageLibraryFolder(other), std::nullopt);
}

TEST(InstallLayout, TheUserConfigFolderFollowsXdgOnlyWhenItIsAnAbsolutePath) {
    EnvironmentValue home("HOME", "/home/desk");
    {
        EnvironmentValue config("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(UserConfigFolder(), "/home/desk/.config");
    }
    {
        EnvironmentValue config("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(UserConfigFolder(), "/home/desk/.config");
    }
    {
        EnvironmentValue config("XDG_CONFIG_HOME", "/srv/cfg");
        EXPECT_EQ(UserConfigFolder(), "/srv/cfg");
    }
}
