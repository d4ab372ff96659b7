#include "reader/ReaderLoader.h"

#include "TestSupport.h"
#include "platform/Environment.h"
#include "reader/simulator/SimulatorContract.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zir::reader;

TEST(ReaderLoader, BindsEveryFunctionOfTheSimulatedReader) {
    zir::platform::SetEnvironmentValue(simulator::kCardFileVariable, std::nullopt);
    TReaderApi api = LoadReaderLibraries(zir::test::SimulatorDir());
    EXPECT_EQ(api.Missing, "");
    for (auto f : {api.GetNewPeopleName, api.GetNewPeopleSex, api.GetNewPeopleNation,
                   api.GetNewPeopleBirthday, api.GetNewPeopleAddress, api.GetNewPeopleIDCode,
                   api.GetNewDepartment, api.GetNewStartDate, api.GetNewEndDate, api.GetNewPassNum,
                   api.GetNewPeopleNameEn, api.GetNewPeopleCountry, api.GetNewPeopleCountryCode})
        EXPECT_NE(f, nullptr);
    ASSERT_NE(api.SDT_GetSAMIDToStr, nullptr);
    ASSERT_NE(api.SDT_SelectIDCard, nullptr);
    ASSERT_NE(api.GetNewCardType, nullptr);
    ASSERT_NE(api.GetNewPhotoRaw, nullptr);
    ASSERT_NE(api.readCardGetUID, nullptr);
    ASSERT_NE(api.readCardGetCardType, nullptr);
    ASSERT_NE(api.readCardBeep, nullptr);
    ASSERT_NE(api.unpack, nullptr);

    // The demo card answers through the bound functions.
    unsigned char select[8] = {};
    EXPECT_EQ(api.SDT_GetSAMIDToStr(0, nullptr, 1), 144);
    EXPECT_EQ(api.SDT_SelectIDCard(0, select, 1), 144);
    EXPECT_EQ(api.GetNewCardType(), 1);
    char uid[32] = {};
    EXPECT_EQ(api.readCardGetUID(0, uid), 1);
    EXPECT_STREQ(uid, "0123456789ABCDEF");
    EXPECT_EQ(api.readCardGetCardType(), 16);
}

TEST(ReaderLoader, AMissingFolderNamesBothFiles) {
    zir::test::TempDir dir;
    TReaderApi api = LoadReaderLibraries(dir.Path());
    EXPECT_NE(api.Missing.find("读卡库加载失败：" + dir.File(ReaderLibraryFileName())),
              std::string::npos)
        << api.Missing;
    EXPECT_NE(api.Missing.find("照片解码库加载失败：" + dir.File(DecoderLibraryFileName())),
              std::string::npos)
        << api.Missing;
    EXPECT_EQ(api.SDT_SelectIDCard, nullptr);
    EXPECT_EQ(api.unpack, nullptr);
}

TEST(ReaderLoader, MissingFunctionsAreNamed) {
    // Each library in the other's place: every function is missing from its file.
    zir::test::TempDir dir;
    std::filesystem::copy_file(zir::test::SimulatedDecoderLibrary(),
                               dir.File(ReaderLibraryFileName()));
    std::filesystem::copy_file(zir::test::SimulatedReaderLibrary(),
                               dir.File(DecoderLibraryFileName()));
    TReaderApi api = LoadReaderLibraries(dir.Path());
    EXPECT_NE(api.Missing.find("读卡库缺少函数：SDT_GetSAMIDToStr、SDT_SelectIDCard、"),
              std::string::npos)
        << api.Missing;
    EXPECT_NE(api.Missing.find("readCardBeep（" + dir.File(ReaderLibraryFileName()) + "）"),
              std::string::npos)
        << api.Missing;
    EXPECT_NE(api.Missing.find("照片解码库缺少函数：unpack"), std::string::npos) << api.Missing;
    EXPECT_EQ(api.SDT_GetSAMIDToStr, nullptr);
    EXPECT_EQ(api.unpack, nullptr);
}
