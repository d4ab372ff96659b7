// `zir read` and `zir uid` end to end: the real program with the simulated reader, run in a
// fresh folder so that zp.bmp lands there.
#include "ProgramRun.h"
#include "ServiceFixture.h"
#include "TestPageCases.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

using zir::test::ProgramResult;
using zir::test::RunZir;
using zir::test::TempDir;

namespace {

class ReadCommandTest : public testing::Test {
  protected:
    ProgramResult Run(const std::string& command, const std::string& card) {
        std::string file = dir.Write("card.txt", card);
        ProgramResult result = RunZir({command, "--simulate=" + file}, dir.Path());
        // A reader call overlapping another would corrupt a real reader.
        EXPECT_EQ(result.Err.find("zir simulator"), std::string::npos) << result.Err;
        return result;
    }

    static std::string Lines(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines)
            text += line + "\n";
        return text;
    }

    TempDir dir;
    const std::string& rule = zir::test::kTestPageRule;
    const std::string& common = zir::test::kTestPageCardFields;
};

} // namespace

TEST_F(ReadCommandTest, EachCardTypePrintsItsLinesAndLeavesThePhoto) {
    for (const auto& c : zir::test::TestPageCasesByType()) {
        SCOPED_TRACE(c.Type);
        auto r = Run("read", common + "CardType=" + std::to_string(c.Type) + "\n");
        EXPECT_EQ(r.ExitCode, 0);
        EXPECT_EQ(r.Out, Lines(c.Lines));
        EXPECT_EQ(r.Err, "");
        EXPECT_EQ(zir::test::ReadFileBytes(dir.File("zp.bmp")).substr(0, 2), "BM");
    }
}

TEST_F(ReadCommandTest, TheDemoCardNeedsNoFile) {
    auto r = RunZir({"read", "--simulate"}, dir.Path());
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out.substr(0, r.Out.find('\n')), "##身份证");
    EXPECT_NE(r.Out.find("0123456789ABCDEF\n" + rule + "\n\n"), std::string::npos);
    EXPECT_EQ(r.Err, "");
}

TEST_F(ReadCommandTest, FailedReadsPrintTheMessageOnStderrAndExit1) {
    const std::pair<std::string, std::string> cases[] = {
        {"SamResult=1", "获取SAMID号失败，错误代码：1"},
        {"SelectResult=128", "选卡失败，错误代码：128"},
        {"CardType=0", "获取卡类型失败，错误代码：0"},
        {"UnpackResult=0", "照片解码失败，错误代码：0"},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        auto r = Run("read", line + "\n");
        EXPECT_EQ(r.ExitCode, 1);
        EXPECT_EQ(r.Out, "");
        EXPECT_EQ(r.Err, message + "\n");
    }
    auto none = RunZir({"read", "--simulate=" + dir.File("no-such-card.txt")}, dir.Path());
    EXPECT_EQ(none.ExitCode, 1);
    EXPECT_EQ(none.Err, "选卡失败，错误代码：128\n");
}

TEST_F(ReadCommandTest, NoRawPhotoStillReadsButThePhotoCannotBeLoaded) {
    auto r = Run("read", "PhotoRawResult=0\nCardType=7\nUid=U\n");
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, Lines({"##其他证件", "其他证件", "U", rule, ""}));
    EXPECT_EQ(r.Err.rfind("照片加载失败：", 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find("zp.bmp"), std::string::npos) << r.Err;
}

TEST_F(ReadCommandTest, AnEarlierCardsPhotoIsNotTakenForThisOne) {
    ASSERT_EQ(Run("read", common + "CardType=1\n").ExitCode, 0);
    const std::string earlier = zir::test::ReadFileBytes(dir.File("zp.bmp"));
    auto r = Run("read", "PhotoRawResult=0\nCardType=7\nUid=U\n");
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, Lines({"##其他证件", "其他证件", "U", rule, ""}));
    EXPECT_EQ(r.Err, "照片加载失败：本次读卡未解码照片\n");
    EXPECT_EQ(zir::test::ReadFileBytes(dir.File("zp.bmp")), earlier); // left as it was
}

TEST_F(ReadCommandTest, APhotoThatIsNoBitmapIsReportedAfterTheLines) {
    dir.Write("photo.bin", std::string(57, 'x'));
    auto r = Run("read", "Photo=photo.bin\nCardType=9\n");
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, Lines({"##其他证件", "其他证件", "0123456789ABCDEF", rule, ""}));
    EXPECT_EQ(r.Err, "照片加载失败：位图文件无效\n");
}

TEST_F(ReadCommandTest, BlanksAndNulsAroundANameAreTrimmed) {
    auto r = Run("read", "Name.hex=2020D5C5C8FD200000\n");
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out.substr(0, r.Out.find('\n', r.Out.find('\n') + 1) + 1), "##身份证\n张三\n");
}

TEST_F(ReadCommandTest, UidCommand) {
    const std::pair<std::string, std::string> cases[] = {
        {"Uid=04A1B2\nUidCardType=16", "身份证: 04A1B2"},
        {"Uid=04A1B2\nUidCardType=4", "IC卡: 04A1B2"},
        {"Uid=04A1B2\nUidCardType=0", "其他卡: 04A1B2"},
        {"Uid.hex=4142004344", "身份证: AB"},
    };
    for (const auto& [card, line] : cases) {
        SCOPED_TRACE(card);
        auto r = Run("uid", card + "\n");
        EXPECT_EQ(r.ExitCode, 0);
        EXPECT_EQ(r.Out, Lines({line, rule, ""}));
    }
    auto failed = Run("uid", "UidResult=-2\n");
    EXPECT_EQ(failed.ExitCode, 1);
    EXPECT_EQ(failed.Out, Lines({"获取UID失败，错误代码：-2", rule, ""}));
    auto none = RunZir({"uid", "--simulate=" + dir.File("no-such-card.txt")}, dir.Path());
    EXPECT_EQ(none.ExitCode, 1);
    EXPECT_EQ(none.Out, Lines({"获取UID失败，错误代码：0", rule, ""}));
}

TEST_F(ReadCommandTest, MissingReaderLibrariesFailEveryReadWithTheirNames) {
    auto r = RunZir({"read", "--reader-dir", dir.Path()}, dir.Path());
    EXPECT_EQ(r.ExitCode, 1);
    const std::string library =
        zir::test::TestingWindowsProgram() ? dir.Path() + "\\SDTAPI.DLL" : dir.File("libSDTAPI.so");
    EXPECT_NE(r.Err.find("读卡库加载失败：" + library), std::string::npos) << r.Err;
    auto u = RunZir({"uid", "--reader-dir", dir.Path()}, dir.Path());
    EXPECT_EQ(u.ExitCode, 1);
    EXPECT_NE(u.Out.find("读卡库加载失败："), std::string::npos) << u.Out;
}

TEST_F(ReadCommandTest, AUidThatIsNotUtf8IsPrintedAsUtf8) {
    ProgramResult uid = Run("uid", common + "Uid.hex=41FF42\n");
    EXPECT_EQ(uid.ExitCode, 0) << uid.Err;
    EXPECT_EQ(uid.Out, Lines({"身份证: A\xEF\xBF\xBD"
                              "B",
                              rule, ""}));
    ProgramResult read = Run("read", "CardType=7\nUid.hex=41FF42\n");
    EXPECT_EQ(read.ExitCode, 0) << read.Err;
    EXPECT_EQ(read.Out, Lines({"##其他证件", "其他证件",
                               "A\xEF\xBF\xBD"
                               "B",
                               rule, ""}));
}

// The reader takes one call at a time, across processes too: beside the running service the
// commands leave it alone and say where to ask.
TEST(ReadBesideTheService, ReadAndUidMakeNoReaderCallAndNameTheService) {
    zir::test::ZirService service("CardType=1\nName=张三\nUid=A1B2C3D4\n");
    const std::string url = "http://127.0.0.1:" + std::to_string(service.Port) + "/";
    for (const std::string command : {"read", "uid"}) {
        SCOPED_TRACE(command);
        TempDir dir;
        ProgramResult r =
            RunZir({command, "--simulate=" + service.CardFile, "--config", service.ConfigFile},
                   dir.Path());
        EXPECT_EQ(r.ExitCode, 1);
        EXPECT_EQ(r.Out, "");
        EXPECT_NE(r.Err.find("zir " + command + ": the service is running"), std::string::npos)
            << r.Err;
        EXPECT_NE(r.Err.find(url), std::string::npos) << r.Err;
        EXPECT_FALSE(zir::test::FileExists(dir.File("zp.bmp")));
    }
}

TEST(ReadBesideTheService, AServiceOfAnotherSettingsFileIsNoneOfItsBusinessOnLinux) {
    ZIR_SKIP_UNLESS_LINUX_PROGRAM("one tray program runs per session, whatever its settings");
    zir::test::ZirService service("CardType=1\nUid=A1B2C3D4\n");
    TempDir dir;
    ProgramResult r = RunZir(
        {"uid", "--simulate=" + service.CardFile, "--config", dir.File("other.INI")}, dir.Path());
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(r.Out.rfind("身份证: A1B2C3D4\n", 0), 0u) << r.Out;
}

TEST_F(ReadCommandTest, ThePhotoAndEveryFileMadeAreTheUsersAlone) {
    ZIR_SKIP_UNLESS_LINUX_PROGRAM("file modes are the Linux program's");
    ASSERT_EQ(Run("read", common + "CardType=1\n").ExitCode, 0);
    struct stat photo {};
    ASSERT_EQ(stat(dir.File("zp.bmp").c_str(), &photo), 0);
    EXPECT_EQ(photo.st_mode & 0777, 0600u);

    zir::test::ZirService service("CardType=1\nName=张三\n");
    ASSERT_EQ(service.Get("/").StatusLine, "HTTP/1.1 200 OK");
    ASSERT_EQ(stat(service.Dir.File("zp.bmp").c_str(), &photo), 0);
    EXPECT_EQ(photo.st_mode & 0777, 0600u);
    const std::string settings = dir.File("made.INI");
    ASSERT_EQ(RunZir({"settings", "--config", settings, "WebPort=8080"}, dir.Path()).ExitCode, 0);
    ASSERT_EQ(stat(settings.c_str(), &photo), 0);
    EXPECT_EQ(photo.st_mode & 0777, 0600u);
}
