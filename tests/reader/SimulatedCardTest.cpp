#include "reader/simulator/core/SimulatedCard.h"

#include "platform/Text.h"

#include "platform/Paths.h"

#include <gtest/gtest.h>

using namespace zir::reader::simulator;

namespace {
std::string Utf8(const SimulatedCard& card, CardField field) {
    return zir::platform::Cp936ToUtf8(card.Field(field));
}
} // namespace

TEST(SimulatedCard, AnEmptyFileIsTheDemoCard) {
    SimulatedCard demo = DemoCard();
    SimulatedCard parsed = ParseCardFile("# nothing but a comment\n\n", "/cards");
    EXPECT_EQ(parsed.Fields, demo.Fields);
    EXPECT_EQ(parsed.CardType, 1);
    EXPECT_EQ(parsed.Uid, "0123456789ABCDEF");
    EXPECT_EQ(parsed.UidCardType, 16);
    EXPECT_EQ(parsed.SamResult, 144);
    EXPECT_EQ(parsed.SelectResult, 144);
    EXPECT_EQ(parsed.PhotoRawResult, 1);
    EXPECT_EQ(parsed.UnpackResult, 1);
    EXPECT_EQ(parsed.UidResult, 1);
    EXPECT_EQ(parsed.Photo, "");
    EXPECT_EQ(parsed.DelayMs, 0);
    EXPECT_EQ(Utf8(demo, CardField::Nation), "汉");
    EXPECT_EQ(Utf8(demo, CardField::IdCode).size(), 18u);
}

TEST(SimulatedCard, EveryKeyIsRead) {
    std::string text = "\xEF\xBB\xBF" // a BOM from a Windows editor
                       "CardType=3\r\n"
                       "Name = 李四 \r\n"
                       "Sex=女\nNation=回\nBirthday=19800202\nAddress=上海市\nIdCode=X1\n"
                       "Department=D\nStartDate=S\nEndDate=E\nPassNum=P\nNameEn=LI SI\n"
                       "Country=加拿大\nCountryCode=CAN\n"
                       "Uid=AABB\nUidCardType=4\nSamResult=1\nSelectResult=128\n"
                       "PhotoRawResult=0\nUnpackResult=-7\nUidResult=+2\nDelayMs=15\n"
                       "Photo=photos/a.bmp\nSomethingElse=ignored\n";
    SimulatedCard card = ParseCardFile(text, "/cards");
    EXPECT_EQ(card.CardType, 3);
    EXPECT_EQ(card.Field(CardField::Name), "\xC0\xEE\xCB\xC4"); // GBK of 李四
    const char* expected[] = {"李四", "女", "回", "19800202", "上海市", "X1", "D",
                              "S",    "E",  "P",  "LI SI",    "加拿大", "CAN"};
    for (std::size_t i = 0; i < kCardFieldCount; ++i)
        EXPECT_EQ(Utf8(card, static_cast<CardField>(i)), expected[i])
            << CardFieldKey(static_cast<CardField>(i));
    EXPECT_EQ(card.Uid, "AABB");
    EXPECT_EQ(card.UidCardType, 4);
    EXPECT_EQ(card.SamResult, 1);
    EXPECT_EQ(card.SelectResult, 128);
    EXPECT_EQ(card.PhotoRawResult, 0);
    EXPECT_EQ(card.UnpackResult, -7);
    EXPECT_EQ(card.UidResult, 2);
    EXPECT_EQ(card.DelayMs, 15);
    EXPECT_EQ(card.Photo, std::string("/cards") + zir::platform::PathSeparator() + "photos/a.bmp");
    EXPECT_EQ(ParseCardFile("Photo=/abs/p.bmp", "/cards").Photo, "/abs/p.bmp");
}

TEST(SimulatedCard, HexKeysDeliverExactBytesAndWinOverTextKeys) {
    SimulatedCard card = ParseCardFile("Name.hex=2020 d5c5 C8FD 20\nName=ignored\n"
                                       "Uid=text\nUid.hex=41420043\nAddress.hex=\n",
                                       "/");
    EXPECT_EQ(card.Field(CardField::Name), "  \xD5\xC5\xC8\xFD ");
    EXPECT_EQ(card.Uid, std::string("AB\0C", 4));
    EXPECT_EQ(card.Field(CardField::Address), "");
}

TEST(SimulatedCard, BadLinesAreReportedAndChangeNothing) {
    std::string warnings;
    SimulatedCard card = ParseCardFile("CardType=two\nName.hex=ABC\nUid.hex=zz\njust words\n"
                                       "SamResult=99999999999\nDelayMs=-5\n",
                                       "/", &warnings);
    EXPECT_EQ(card.CardType, 1);
    EXPECT_EQ(card.Field(CardField::Name), DemoCard().Field(CardField::Name));
    EXPECT_EQ(card.Uid, "0123456789ABCDEF");
    EXPECT_EQ(card.SamResult, 144);
    EXPECT_EQ(card.DelayMs, 0);
    EXPECT_NE(warnings.find("line 1: CardType"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("line 4"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("line 5: SamResult"), std::string::npos) << warnings;
    EXPECT_EQ(ParseCardFile("DelayMs=99999999", "/").DelayMs, 10000);
}

TEST(SimulatedCard, ValuesAreCutToWhatTheReaderBuffersHold) {
    std::string longName;
    for (int i = 0; i < 200; ++i)
        longName += "张"; // 400 GBK bytes
    SimulatedCard card = ParseCardFile("Name=x" + longName + "\nUid=" + std::string(40, 'U') +
                                           "\nAddress.hex=" + std::string(600, 'A'),
                                       "/");
    // 255 bytes at most, and never half a character: "x" and 127 whole characters.
    EXPECT_EQ(card.Field(CardField::Name).size(), 255u);
    EXPECT_EQ(card.Uid.size(), 32u);
    EXPECT_EQ(card.Field(CardField::Address), std::string(256, '\xAA'));
}
