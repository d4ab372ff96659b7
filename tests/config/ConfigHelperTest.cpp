#include "config/ConfigHelper.h"
#include "platform/UserMessage.h"

#include "support/ScopedSettings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using zir::config::TConfigHelper;
using zir::config::TConfigRec;
using zir::config::TryParseConfigInteger;
using zir::test::ReadFileBytes;
using zir::test::TempDir;

namespace {

// Each test points the process-wide settings at its own file and collects the messages the load
// gives for the user; the load shows none itself (that is its caller's business).
class ConfigFile : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.UseFile(path);
        zir::platform::SetUserMessageHandler([this](const zir::platform::UserMessage& message) {
            shown.push_back(message.Text);
            return zir::platform::UserMessageAnswer::Ok;
        });
    }
    void TearDown() override {
        zir::platform::SetUserMessageHandler(nullptr);
        EXPECT_TRUE(shown.empty());
    }
    // The load, its message collected.
    zir::config::TConfigLoadResult LoadConfig() {
        zir::config::TConfigLoadResult result = TConfigHelper::LoadConfig();
        if (!result)
            messages.push_back(result.Error);
        return result;
    }

    static void Reset(int32_t port, int32_t type, int32_t cache, int32_t sound) {
        zir::test::ScopedSettings::Set({port, type, cache, sound});
    }

    TConfigRec Load(const std::string& fileText) {
        dir.Write("zir.INI", fileText);
        LoadConfig();
        return TConfigHelper::GetConfig();
    }

    zir::test::ScopedSettings settings;
    TempDir dir;
    std::string path = dir.File("zir.INI");
    std::vector<std::string> messages;
    std::vector<std::string> shown;
};

void ExpectRec(const TConfigRec& rec, int32_t port, int32_t type, int32_t cache, int32_t sound) {
    EXPECT_EQ(rec.WebPort, port);
    EXPECT_EQ(rec.WebType, type);
    EXPECT_EQ(rec.WebCache, cache);
    EXPECT_EQ(rec.WebSound, sound);
}

} // namespace

TEST(ConfigInteger, AcceptsTheDecimalAndHexadecimalForms) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"8080", 8080},
        {"   8080", 8080},
        {"+12", 12},
        {"-3", -3},
        {"0", 0},
        {"$1F", 31},
        {"x1f", 31},
        {"X10", 16},
        {"0x10", 16},
        {"0XfF", 255},
        {"-$10", -16},
        {"-0x80000000", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"007", 7},
        {"$7FFFFFFF", INT32_MAX},
    };
    for (const Case& c : cases) {
        int32_t value = 99;
        EXPECT_TRUE(TryParseConfigInteger(c.text, value)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(ConfigInteger, RejectsEverythingElseAndLeavesTheValue) {
    const char* cases[] = {
        "",          " ",   "8080 ", "\t8080", "80 80", "2.5",        "-",
        "+",         "$",   "0x",    "x",      "1e3",   "2147483648", "-2147483649",
        "$80000000", "--1", "+-1",   "- 1",    "abc",   "0x1G",       "99999999999999999999999"};
    for (const char* text : cases) {
        int32_t value = 99;
        EXPECT_FALSE(TryParseConfigInteger(text, value)) << '"' << text << '"';
        EXPECT_EQ(value, 99) << text;
    }
    EXPECT_EQ(zir::config::InvalidIntegerMessage("8080 "), "'8080 ' is not a valid integer value");
}

TEST_F(ConfigFile, NoFileGivesTheDefaultsAndCreatesNothing) {
    LoadConfig();
    ExpectRec(TConfigHelper::GetConfig(), 80, 0, 1, 1);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ConfigFile, KeysMatchWithoutRegardToCaseAndTheFirstLineWins) {
    ExpectRec(Load("webport=8080"), 8080, 0, 1, 1);
    ExpectRec(Load("WEBTYPE=2\r\nWebType=3\nwebcache=0\rWebSound=-1\r\n"), 80, 2, 0, -1);
    // "; WebPort" is not the key; "81=82" is the value of the third line, an error that leaves
    // every setting as the previous load left it.
    ExpectRec(Load("[Section]\n; WebPort=1\nWebPort=81=82\n"), 80, 2, 0, -1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "系统参数加载失败，请核查。['81=82' is not a valid integer value]");
}

TEST_F(ConfigFile, BlanksAroundTheEqualsSign) {
    ExpectRec(Load("WebPort = 8080\r\n"), 80, 0, 1, 1); // the key is "WebPort "
    ExpectRec(Load("WebPort= 8080\r\n"), 8080, 0, 1, 1);
    ExpectRec(Load("WebPort=\r\nWebCache=2\r\n"), 80, 0, 2, 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ConfigFile, AHandTypedWebOriginsKeyIsTrimmedAndOtherKeysAreNamed) {
    // Blanks around the key (and its case) do not lose the list; the four integer keys keep
    // their exact match, so "WebPort " is no port, and is named with the other strangers.
    for (const char* line :
         {"WebOrigins =https://desk.example.com", " webORIGINS\t=https://desk.example.com",
          "WebOrigins=https://desk.example.com"}) {
        Load(std::string("WebPort =81\r\n") + line + "\r\nWebOrigins=null\r\n");
        EXPECT_EQ(TConfigHelper::GetWebOrigins(), "https://desk.example.com") << line;
        EXPECT_EQ(TConfigHelper::GetConfig().WebPort, 80) << line;
        EXPECT_EQ(TConfigHelper::LastUnknownKeys(), std::vector<std::string>{"WebPort "}) << line;
    }
    EXPECT_EQ(zir::config::UnknownConfigKeys("WebOrigin=x\nWEBCACHE=1\n; Web=note\n"
                                             "no equals sign\n\nWeb Port=1\n=\n"),
              (std::vector<std::string>{"WebOrigin", "Web Port", ""}));
    Load("WebPort=81\r\n");
    EXPECT_TRUE(TConfigHelper::LastUnknownKeys().empty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(ConfigFile, ABadValueStopsTheLoadWhereItHappened) {
    Reset(0, 0, 0, 0);
    ExpectRec(Load("WebPort=8080 \r\nWebType=1\r\n"), 0, 0, 0, 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "系统参数加载失败，请核查。['8080 ' is not a valid integer value]");

    Reset(0, 0, 0, 0);
    ExpectRec(Load("WebPort=81\r\nWebType=1\r\nWebCache=yes\r\nWebSound=0\r\n"), 81, 1, 0, 0);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], "系统参数加载失败，请核查。['yes' is not a valid integer value]");

    Reset(5, 6, 7, 8);
    ExpectRec(Load("WebSound=99999999999\r\n"), 80, 0, 1, 8);
    EXPECT_EQ(messages.size(), 3u);
}

TEST_F(ConfigFile, SaveWritesExactlyFourLinesAndDropsOthers) {
    dir.Write("zir.INI", "# mine\r\nWebPort=1\r\nOther=2\r\n");
    Reset(8080, -3, 2, 0);
    TConfigHelper::SaveConfig();
    EXPECT_EQ(ReadFileBytes(path), "WebPort=8080\r\nWebType=-3\r\nWebCache=2\r\nWebSound=0\r\n");
    Reset(INT32_MIN, INT32_MAX, 0, 1);
    TConfigHelper::SaveConfig();
    EXPECT_EQ(ReadFileBytes(path),
              "WebPort=-2147483648\r\nWebType=2147483647\r\nWebCache=0\r\nWebSound=1\r\n");
    // What was saved loads back unchanged.
    Reset(0, 0, 0, 0);
    LoadConfig();
    ExpectRec(TConfigHelper::GetConfig(), INT32_MIN, INT32_MAX, 0, 1);
    // Only the settings file is left in the folder: the temporary file was renamed over it.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(ConfigFile, AFailedSaveThrowsAndLeavesTheOldFile) {
    TConfigHelper::SetConfigFilePath(dir.File("missing-folder/zir.INI"));
    Reset(1, 2, 3, 4);
    EXPECT_THROW(TConfigHelper::SaveConfig(), std::runtime_error);
    ExpectRec(TConfigHelper::GetConfig(), 1, 2, 3, 4); // the values in memory stay as set

    // A folder standing where the file should be: the rename fails, the folder stays, and no
    // temporary file is left behind.
    std::filesystem::create_directory(path);
    TConfigHelper::SetConfigFilePath(path);
    EXPECT_THROW(TConfigHelper::SaveConfig(), std::runtime_error);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST_F(ConfigFile, DefaultPathIsTheExecutablePathPlusIni) {
    TConfigHelper::SetConfigFilePath("");
    std::string p = TConfigHelper::ConfigFilePath();
    ASSERT_GE(p.size(), 4u);
    EXPECT_EQ(p.substr(p.size() - 4), ".INI");
    EXPECT_NE(p.find("zir_config_tests"), std::string::npos);
}

TEST_F(ConfigFile, WebOriginsIsAFifthLineOnlyWhileItIsSet) {
    Reset(8080, 0, 1, 1);
    TConfigHelper::SetWebOrigins(" https://desk.example.com,  null ");
    TConfigHelper::SaveConfig();
    EXPECT_EQ(ReadFileBytes(path), "WebPort=8080\r\nWebType=0\r\nWebCache=1\r\nWebSound=1\r\n"
                                   "WebOrigins=https://desk.example.com,  null\r\n");
    Reset(0, 0, 0, 0);
    ASSERT_TRUE(LoadConfig());
    ExpectRec(TConfigHelper::GetConfig(), 8080, 0, 1, 1);
    EXPECT_EQ(TConfigHelper::GetWebOrigins(), "https://desk.example.com,  null");
    EXPECT_TRUE(TConfigHelper::WebOriginRules()->Allows("null"));
    EXPECT_FALSE(TConfigHelper::WebOriginRules()->Allows("https://other.example"));

    // Set to nothing, the file has its four lines again.
    TConfigHelper::SetWebOrigins("");
    TConfigHelper::SaveConfig();
    EXPECT_EQ(ReadFileBytes(path), "WebPort=8080\r\nWebType=0\r\nWebCache=1\r\nWebSound=1\r\n");
    EXPECT_TRUE(TConfigHelper::WebOriginRules()->AnyOrigin);
    EXPECT_TRUE(messages.empty());
}

TEST_F(ConfigFile, WebOriginsIsReadWhateverTheIntegersBeforeItGave) {
    // The load stops at the bad port, but a service must not run open to every origin (nor a
    // later save drop the list) because of it.
    Load("WebPort=80a\r\nwebOrigins=https://desk.example.com\r\nWebOrigins=null\r\n");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "系统参数加载失败，请核查。['80a' is not a valid integer value]");
    EXPECT_EQ(TConfigHelper::GetWebOrigins(), "https://desk.example.com");

    // A file without the line, or no file at all, sets it back to every origin.
    Load("WebPort=81\r\n");
    EXPECT_EQ(TConfigHelper::GetWebOrigins(), "");
    TConfigHelper::SetWebOrigins("null");
    std::filesystem::remove(path);
    LoadConfig();
    EXPECT_TRUE(TConfigHelper::WebOriginRules()->AnyOrigin);
}

TEST_F(ConfigFile, ABadWebOriginsIsReportedAllowsNoOriginAndIsSavedAsItWas) {
    dir.Write("zir.INI", "WebPort=81\r\nWebOrigins=https://desk.example.com/\r\nWebSound=0\r\n");
    EXPECT_FALSE(LoadConfig());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              "系统参数加载失败，请核查。[WebOrigins: 'https://desk.example.com/' is not "
              "an origin (scheme://host[:port], null or *)]");
    ExpectRec(TConfigHelper::GetConfig(), 81, 0, 1, 0);
    const auto rules = TConfigHelper::WebOriginRules();
    EXPECT_FALSE(rules->AnyOrigin);
    EXPECT_FALSE(rules->Allows("https://desk.example.com"));

    TConfigHelper::SaveConfig();
    EXPECT_EQ(ReadFileBytes(path), "WebPort=81\r\nWebType=0\r\nWebCache=1\r\nWebSound=0\r\n"
                                   "WebOrigins=https://desk.example.com/\r\n");
}
