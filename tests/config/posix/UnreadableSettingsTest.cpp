// A settings file that exists but cannot be read. Root reads every file, so as root the load
// runs with the effective user "nobody" for a moment.

#include "config/ConfigHelper.h"
#include "support/ScopedSettings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

using zir::config::TConfigHelper;

namespace {

zir::config::TConfigLoadResult LoadAsAnotherUser() {
    const bool root = geteuid() == 0;
    if (root && seteuid(65534) != 0)
        return {"could not become another user"};
    zir::config::TConfigLoadResult loaded = TConfigHelper::LoadConfig();
    if (root && seteuid(0) != 0)
        ADD_FAILURE() << "could not become root again";
    return loaded;
}

} // namespace

TEST(UnreadableSettings, RefuseEveryOriginUntilALoadReadsTheFile) {
    zir::test::ScopedSettings settings;
    zir::test::TempDir dir;
    const std::string path =
        dir.Write("zir.INI", "WebPort=81\r\nWebOrigins=https://desk.example.com\r\n");
    settings.UseFile(path);
    ASSERT_EQ(chmod(path.c_str(), 0), 0);

    const zir::config::TConfigLoadResult failed = LoadAsAnotherUser();
    EXPECT_FALSE(failed);
    EXPECT_EQ(TConfigHelper::LastLoad(), TConfigHelper::TLoadResult::Unreadable);
    EXPECT_EQ(failed.Error.rfind("系统参数加载失败，请核查。[Cannot open file \"" + path, 0), 0u);
    // The list the file may hold is unknown: no page may read the card, the listed one neither,
    // and every refusal names the reason. Programs (no Origin) are still served.
    const auto rules = TConfigHelper::WebOriginRules();
    EXPECT_FALSE(rules->AnyOrigin);
    EXPECT_FALSE(rules->Allows("https://desk.example.com"));
    EXPECT_EQ(rules->Error, "the settings file could not be read");

    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    EXPECT_TRUE(TConfigHelper::LoadConfig());
    EXPECT_EQ(TConfigHelper::LastLoad(), TConfigHelper::TLoadResult::Read);
    EXPECT_TRUE(TConfigHelper::WebOriginRules()->Allows("https://desk.example.com"));
    EXPECT_EQ(TConfigHelper::GetConfig().WebPort, 81);
}
