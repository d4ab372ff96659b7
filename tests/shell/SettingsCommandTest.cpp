// zir settings, end to end: the real program with its own settings file.

#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zir::test::FileExists;
using zir::test::ProgramResult;
using zir::test::ReadFileBytes;
using zir::test::RunZir;
using zir::test::TempDir;

namespace {

class SettingsCommand : public ::testing::Test {
  protected:
    ProgramResult Settings(std::vector<std::string> args) {
        args.insert(args.begin(), {"settings", "--config", ini});
        return RunZir(args, dir.Path());
    }
    ProgramResult Show(const std::string& fileText) {
        dir.Write("zir.INI", fileText);
        return Settings({});
    }
    static std::string Lines(int port, int type, int cache, int sound) {
        return "WebPort=" + std::to_string(port) + "\nWebType=" + std::to_string(type) +
               "\nWebCache=" + std::to_string(cache) + "\nWebSound=" + std::to_string(sound) + "\n";
    }
    static std::string File(int port, int type, int cache, int sound) {
        return "WebPort=" + std::to_string(port) + "\r\nWebType=" + std::to_string(type) +
               "\r\nWebCache=" + std::to_string(cache) + "\r\nWebSound=" + std::to_string(sound) +
               "\r\n";
    }
    // A validation failure: its message on stderr, status 2, the file as it was.
    void ExpectRefused(const std::vector<std::string>& args, const std::string& message) {
        const std::string before = ReadFileBytes(ini);
        ProgramResult r = Settings(args);
        EXPECT_EQ(r.ExitCode, 2) << args[0];
        EXPECT_EQ(r.Err, message + "\n") << args[0];
        EXPECT_EQ(r.Out, "") << args[0];
        EXPECT_EQ(ReadFileBytes(ini), before) << args[0];
    }

    TempDir dir;
    std::string ini = dir.File("zir.INI");
};

} // namespace

TEST_F(SettingsCommand, WithoutAFileShowsTheDefaultsAndWritesNothing) {
    ProgramResult r = Settings({});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, Lines(80, 0, 1, 1));
    EXPECT_EQ(r.Err, "");
    EXPECT_FALSE(FileExists(ini));
    // The same values given back change nothing, so nothing is saved either.
    r = Settings({"WebPort=80", "WebType=0"});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_FALSE(FileExists(ini));
}

TEST_F(SettingsCommand, LoadsTheFileLineByLine) {
    EXPECT_EQ(Show("webport=8080").Out, Lines(8080, 0, 1, 1));
    EXPECT_EQ(Show("WebPort = 8080\r\n").Out, Lines(80, 0, 1, 1));
    EXPECT_EQ(Show("WebPort= 8080\r\n").Out, Lines(8080, 0, 1, 1));
    EXPECT_EQ(Show("WebPort=\r\n").Out, Lines(80, 0, 1, 1));
    EXPECT_EQ(Show("WebPort=81\nWebPort=82\nWebCache=2\rWEBSOUND=$10\r\n").Out,
              Lines(81, 0, 2, 16));
}

TEST_F(SettingsCommand, ABadValueIsReportedAndTheLoadStopsThere) {
    ProgramResult r = Show("WebType=1\r\nWebPort=8080 \r\n");
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Err, "系统参数加载失败，请核查。['8080 ' is not a valid integer value]\n");
    EXPECT_EQ(r.Out, Lines(0, 0, 0, 0)); // the port fails first; nothing after it is loaded
    r = Show("WebPort=1\r\nWebType=2\r\nWebCache=on\r\nWebSound=0\r\n");
    EXPECT_EQ(r.Err, "系统参数加载失败，请核查。['on' is not a valid integer value]\n");
    EXPECT_EQ(r.Out, Lines(1, 2, 0, 0));
}

TEST_F(SettingsCommand, ASaveWritesFourLinesAndShowsTheNotice) {
    dir.Write("zir.INI", "# my notes\r\nWebPort=80\r\n");
    ProgramResult r = Settings({"WebPort= 8080 ", "WebType=-3", "WebCache=0", "WebSound=0"});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "服务设置已变更，请重启zir服务。\n");
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(ReadFileBytes(ini), File(8080, -3, 0, 0));
    EXPECT_EQ(Settings({}).Out, Lines(8080, -3, 0, 0));

    // Keys not given keep what the dialog would show; port bounds and hexadecimal pass.
    EXPECT_EQ(Settings({"WebPort=65535"}).Out, "服务设置已变更，请重启zir服务。\n");
    EXPECT_EQ(ReadFileBytes(ini), File(65535, -3, 0, 0));
    EXPECT_EQ(Settings({"WebPort=0", "websound=1"}).ExitCode, 0);
    EXPECT_EQ(ReadFileBytes(ini), File(0, -3, 0, 1));
    EXPECT_EQ(Settings({"WebPort=$1F90"}).ExitCode, 0);
    EXPECT_EQ(ReadFileBytes(ini), File(8080, -3, 0, 1));
}

TEST_F(SettingsCommand, ACacheValueOfTwoShowsTickedAndIsSavedAsOne) {
    dir.Write("zir.INI", File(80, 0, 2, 1));
    ProgramResult r = Settings({"WebPort=80"});
    EXPECT_EQ(r.Out, "服务设置已变更，请重启zir服务。\n");
    EXPECT_EQ(ReadFileBytes(ini), File(80, 0, 1, 1));
}

TEST_F(SettingsCommand, UnchangedValuesSaveNothing) {
    dir.Write("zir.INI", "webport=81\n");
    ProgramResult r = Settings({"WebPort=81", "WebType=0", "WebCache=1", "WebSound=1"});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(ReadFileBytes(ini), "webport=81\n");
}

TEST_F(SettingsCommand, ValidationFailuresAreRefused) {
    dir.Write("zir.INI", File(80, 0, 1, 1));
    ExpectRefused({"WebPort=   "}, "服务端口不能为空");
    ExpectRefused({"WebPort="}, "服务端口不能为空");
    ExpectRefused({"WebPort=65536"}, "服务端口设置无效");
    ExpectRefused({"WebPort=-1"}, "服务端口设置无效");
    ExpectRefused({"WebPort=80a"}, "服务端口设置无效");
    ExpectRefused({"WebPort=99999999999"}, "服务端口设置无效");
    ExpectRefused({"WebType=2.5"}, "服务类别设置无效[整数]");
    ExpectRefused({"WebType=\t"}, "服务类别不能为空");
    ExpectRefused({"WebType=2.5", "WebPort="}, "服务端口不能为空"); // the port is checked first
    EXPECT_EQ(Settings({"WebType=2147483647"}).ExitCode, 0);
    ExpectRefused({"WebType=2147483648"}, "服务类别设置无效[整数]");
}

TEST_F(SettingsCommand, WordsThatAreNotSettingsAreUsageErrors) {
    dir.Write("zir.INI", File(80, 0, 1, 1));
    for (const char* word : {"WebPort", "Port=1", "WebCache=2", "WebSound=yes", "WebSound="}) {
        ProgramResult r = Settings({word});
        EXPECT_EQ(r.ExitCode, 2) << word;
        EXPECT_NE(r.Err.find("zir settings: "), std::string::npos) << word;
        EXPECT_EQ(ReadFileBytes(ini), File(80, 0, 1, 1)) << word;
    }
}

TEST_F(SettingsCommand, WebOriginsIsSavedShownKeptByOtherSavesAndRemovedWhenEmpty) {
    dir.Write("zir.INI", File(8080, 0, 1, 1));
    const std::string list = "https://desk.example.com http://intranet:8080";
    ProgramResult r = Settings({"WebOrigins=" + list});
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out, "服务设置已变更，请重启zir服务。\n");
    EXPECT_EQ(ReadFileBytes(ini), File(8080, 0, 1, 1) + "WebOrigins=" + list + "\r\n");
    EXPECT_EQ(Settings({}).Out, Lines(8080, 0, 1, 1) + "WebOrigins=" + list + "\n");

    EXPECT_EQ(Settings({"WebPort=8081"}).ExitCode, 0);
    EXPECT_EQ(ReadFileBytes(ini), File(8081, 0, 1, 1) + "WebOrigins=" + list + "\r\n");
    EXPECT_EQ(Settings({"weborigins= " + list + " "}).Out, ""); // the same list: no save

    EXPECT_EQ(Settings({"WebOrigins="}).ExitCode, 0);
    EXPECT_EQ(ReadFileBytes(ini), File(8081, 0, 1, 1));
    EXPECT_EQ(Settings({}).Out, Lines(8081, 0, 1, 1));
}

TEST_F(SettingsCommand, AValueThatIsNoListOfOriginsIsRefusedAndNothingIsSaved) {
    dir.Write("zir.INI", File(80, 0, 1, 1) + "WebOrigins=null\r\n");
    const std::string form = "' is not an origin (scheme://host[:port], null or *)";
    ExpectRefused({"WebOrigins=https://desk.example.com/"},
                  "WebOrigins: 'https://desk.example.com/" + form);
    ExpectRefused({"WebPort=8080", "WebOrigins=null desk.example.com"},
                  "WebOrigins: 'desk.example.com" + form);
    ExpectRefused({"WebOrigins=* https://desk.example.com"},
                  "WebOrigins: '*' (every origin) cannot stand in a list of origins");
}

TEST_F(SettingsCommand, ABadListInTheFileIsReportedAndKeptByAnotherSave) {
    dir.Write("zir.INI", File(80, 0, 1, 1) + "WebOrigins=https://desk.example.com/\r\n");
    ProgramResult r = Settings({});
    EXPECT_EQ(r.Err, "系统参数加载失败，请核查。[WebOrigins: 'https://desk.example.com/' is not an "
                     "origin (scheme://host[:port], null or *)]\n");
    EXPECT_EQ(r.Out, Lines(80, 0, 1, 1) + "WebOrigins=https://desk.example.com/\n");
    // Dropping it would open the card to every site; it stays until it is set anew.
    EXPECT_EQ(Settings({"WebPort=8080"}).ExitCode, 0);
    EXPECT_EQ(ReadFileBytes(ini), File(8080, 0, 1, 1) + "WebOrigins=https://desk.example.com/\r\n");
    EXPECT_EQ(Settings({"WebOrigins=https://desk.example.com"}).ExitCode, 0);
    EXPECT_EQ(ReadFileBytes(ini), File(8080, 0, 1, 1) + "WebOrigins=https://desk.example.com\r\n");
}

TEST_F(SettingsCommand, AFileItCouldNotReadInFullIsNeverChanged) {
    // The load stops at the bad port: a save would write zeros over everything after it.
    const std::string broken =
        "WebPort=80a\r\nWebType=1\r\nWebCache=0\r\nWebOrigins=https://desk.example.com\r\n";
    dir.Write("zir.INI", broken);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"WebPort=8080"}, {"WebType=2"}, {"WebOrigins="}}) {
        ProgramResult r = Settings(args);
        EXPECT_EQ(r.ExitCode, 1) << args[0];
        EXPECT_NE(r.Err.find("is not changed; mend the file first"), std::string::npos) << r.Err;
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(ReadFileBytes(ini), broken) << args[0];
    }
    // Printing it still works, and a mended file takes saves again.
    EXPECT_EQ(Settings({}).ExitCode, 0);
    dir.Write("zir.INI", File(80, 1, 0, 1));
    EXPECT_EQ(Settings({"WebPort=8080"}).ExitCode, 0);
    EXPECT_EQ(ReadFileBytes(ini), File(8080, 1, 0, 1));
}

TEST_F(SettingsCommand, AFileThatCannotBeWrittenIsAnError) {
    ini = dir.File("no-such-folder/zir.INI");
    ProgramResult r = Settings({"WebPort=8080"});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_NE(r.Err.find("no-such-folder/zir.INI"), std::string::npos) << r.Err;
}

// The version the packages carry in their names, from the same place.
TEST(ProgramVersion, VersionPrintsTheBuildsVersionAndRunsNothingElse) {
    TempDir dir;
    const ProgramResult result =
        RunZir({"--version", "--config", dir.File("none.INI")}, dir.Path());
    EXPECT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, std::string("zir ") + ZIR_PROJECT_VERSION + "\n");
    EXPECT_FALSE(FileExists(dir.File("none.INI")));
}
