// A settings file that exists but cannot be read. Root reads every file, so as root the load
// runs with the effective user "nobody" for a moment.

#include "config/ConfigHelper.h"
#include "platform/UserMessage.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

using zir::config::TConfigHelper;

namespace {

bool LoadAsAnotherUser() {
    const bool root = geteuid() == 0;
    if (root && seteuid(65534) != 0)
        return false;
    const bool loaded = TConfigHelper::LoadConfig();
    if (root && seteuid(0) != 0)
        ADD_FAILURE() << "could not become root again";
    return loaded;
}

} // namespace

TEST(UnreadableSettings, RefuseEveryOriginUntilALoadReadsTheFile) {
    zir::test::TempDir dir;
    const std::string path =
        dir.Write("zir.INI", "WebPort=81\r\nWebOrigins=https://desk.example.com\r\n");
    TConfigHelper::SetConfigFilePath(path);
    std::vector<std::string> messages;
    zir::platform::SetUserMessageHandler([&](const zir::platform::UserMessage& message) {
        messages.push_back(message.Text);
        return zir::platform::UserMessageAnswer::Ok;
    });
    TConfigHelper::SetWebOrigins("");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);

    EXPECT_FALSE(LoadAsAnotherUser());
    EXPECT_EQ(TConfigHelper::LastLoad(), TConfigHelper::TLoadResult::Unreadable);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("系统参数加载失败，请核查。[Cannot open file \"" + path, 0), 0u);
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

    zir::platform::SetUserMessageHandler(nullptr);
    TConfigHelper::SetConfigFilePath("");
    TConfigHelper::SetWebOrigins("");
}
