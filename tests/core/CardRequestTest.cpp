#include "core/CardRequest.h"

#include <gtest/gtest.h>

using namespace zir::core;

TEST(CardRequest, TheFirstTypeParameterInAnyCaseDecidesAndIsUpperCasedInAscii) {
    EXPECT_EQ(RequestType({}), "");
    EXPECT_EQ(RequestType({"a=1", "TyPe=uId", "type=full"}), "UID");
    EXPECT_EQ(RequestType({"type=full", "type=UID"}), "FULL");
    EXPECT_EQ(RequestType({"type="}), "");
    // A piece without "=" names nothing; the value is everything after the first "=".
    EXPECT_EQ(RequestType({"type", "types=UID", "type=a=b"}), "A=B");
    // Only ASCII letters change: the GBK/UTF-8 bytes of "卡" stay as they are.
    EXPECT_EQ(RequestType({"type=ic卡"}), "IC卡");
}

TEST(CardRequest, TheUidDocumentCarriesKindAndUidAsJsonText) {
    TIdCardRec rec;
    rec.UidType = "IC卡";
    rec.Uid = "0123456789ABCDEF";
    EXPECT_EQ(UidDocument(rec), R"({"statusCode":"200","type":"IC卡","uid":"0123456789ABCDEF"})");
    // Bytes a reader might deliver never break the document.
    rec.UidType = "其他卡";
    rec.Uid = "a\"b\\c\x01";
    EXPECT_EQ(UidDocument(rec), R"({"statusCode":"200","type":"其他卡","uid":"a\"b\\c\u0001"})");
    EXPECT_EQ(FailureDocument(), R"({"statusCode":"500"})");
}
