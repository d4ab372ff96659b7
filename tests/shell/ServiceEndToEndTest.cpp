// The service end to end: the real program, the simulated reader, raw sockets on loopback.

#include "CardAnswerHead.h"
#include "ServiceFixture.h"
#include "StrictJson.h"

#include <gtest/gtest.h>

using namespace zir::test;

namespace {

const char* const kIdentityCard = "CardType=1\n"
                                  "Name=张三\n"
                                  "Sex=男\n"
                                  "Nation=汉\n"
                                  "Birthday=19900101\n"
                                  "Address=北京市东城区示例路1号\n"
                                  "IdCode=110101199001011234\n"
                                  "Department=北京市公安局东城分局\n"
                                  "StartDate=20200101\n"
                                  "EndDate=长期\n"
                                  "Uid=A1B2C3D4\n";

} // namespace

TEST(ServiceEndToEnd, AUidAnswerIsExactToTheByte) {
    ZirService service(kIdentityCard);
    auto response = service.Get("/?type=UID");
    const std::string body = R"({"statusCode":"200","type":"身份证","uid":"A1B2C3D4"})";
    EXPECT_EQ(response.Raw(), CardAnswerHead(body.size()) + body);
    EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /; TYPE: UID]");
    EXPECT_EQ(service.NextLogLine("##"), "##READ SUCCESS --> 身份证 : A1B2C3D4");
}

TEST(ServiceEndToEnd, TheTypeParameterIsFoundInAnyCaseAndTheFirstOneDecides) {
    ZirService service(std::string(kIdentityCard) + "UidCardType=4\n");
    const std::string uidBody = R"({"statusCode":"200","type":"IC卡","uid":"A1B2C3D4"})";
    for (const char* target :
         {"/?TYPE=uid", "/any/path?Type=Uid", "/?type=UID&type=full", "/?a=1&tYpE=uId&b=2"}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(service.Get(target).Body, uidBody);
    }
    // The first "type" asks for a full read; so do an empty value and no parameter at all.
    for (const char* target : {"/?type=full&type=UID", "/?type=", "/", "/?uid=UID"}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(service.Get(target).Body.rfind(R"({"statusCode":"200","cardType":"身份证",)", 0),
                  0u);
    }
}

TEST(ServiceEndToEnd, FullReadsInAllFourLayoutsFollowWebTypeAtTheNextRequest) {
    ZirService service(kIdentityCard, {.WebType = 0, .WebCache = 0});
    auto identity = service.Get("/");
    const std::string photo = SystemBase64(service.Dir.File("zp.bmp"));
    ASSERT_GT(photo.size(), 1000u);
    std::string body =
        R"({"statusCode":"200","cardType":"身份证","name":"张三","sexDesc":"男",)"
        R"("nationDesc":"汉","birthday":"19900101","address":"北京市东城区示例路1号",)"
        R"("IdNum":"110101199001011234","company":"北京市公安局东城分局",)"
        R"("beginDate":"20200101","endDate":"长期","photoBase64":")" +
        photo + R"(","uid":"A1B2C3D4"})";
    EXPECT_EQ(identity.Raw(), CardAnswerHead(body.size()) + body);

    service.Reload({.WebType = 1, .WebCache = 0});
    EXPECT_EQ(service.Get("/").Body,
              R"({"resultFlag":"0","resultContent":{"chName":"张三","gender":"男","nation":"汉",)"
              R"("birthDate":"19900101","address":"北京市东城区示例路1号",)"
              R"("cardNo":"110101199001011234","issue":"北京市公安局东城分局",)"
              R"("effDate":"20200101","expDate":"长期","identityPic":")" +
                  photo + R"("}})");

    service.Reload({.WebType = 0, .WebCache = 0});
    service.WriteCard("CardType=2\nName=陈大文\nSex=男\nBirthday=19850505\nAddress=香港\n"
                      "IdCode=810000198505050011\nDepartment=公安部\nStartDate=20190101\n"
                      "EndDate=20240101\nPassNum=H12345678\nUid=B2\n");
    EXPECT_EQ(service.Get("/").Body,
              R"({"statusCode":"200","cardType":"港澳台居住证","name":"陈大文","sexDesc":"男",)"
              R"("birthday":"19850505","address":"香港","IdNum":"810000198505050011",)"
              R"("passNum":"H12345678","company":"公安部","beginDate":"20190101",)"
              R"("endDate":"20240101","photoBase64":")" +
                  photo + R"(","uid":"B2"})");

    service.WriteCard("CardType=4\nName=安娜\nNameEn=ANNA SMITH\nSex=女\nCountry=美国\n"
                      "CountryCode=USA\nBirthday=19800101\nIdCode=USA123456789\n"
                      "Department=国家移民管理局\nStartDate=20230101\nEndDate=20330101\nUid=C3\n");
    EXPECT_EQ(service.Get("/").Body,
              R"({"statusCode":"200","cardType":"外国人永居证23版","name":"安娜",)"
              R"("ename":"ANNA SMITH","sexDesc":"女","country":"美国","countryCode":"USA",)"
              R"("birthday":"19800101","IdNum":"USA123456789","company":"国家移民管理局",)"
              R"("beginDate":"20230101","endDate":"20330101","photoBase64":")" +
                  photo + R"(","uid":"C3"})");
}

TEST(ServiceEndToEnd, AFailedReadAnswers200WithTheFailureDocumentAndLogsTheReasonTwice) {
    ZirService service(std::string(kIdentityCard) + "SelectResult=128\n");
    auto response = service.Get("/?type=full");
    const std::string body = R"({"statusCode":"500"})";
    EXPECT_EQ(response.Raw(), CardAnswerHead(body.size()) + body);
    EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /; TYPE: FULL]");
    size_t at = service.SeenLines;
    ASSERT_TRUE(service.NextLogLine("##OPERATE FAIL"));
    EXPECT_EQ(service.LogLinesFrom(at),
              (std::vector<std::string>{"500:EXCEPTION --> 选卡失败，错误代码：128",
                                        "##OPERATE FAIL --> 选卡失败，错误代码：128"}));
}

TEST(ServiceEndToEnd, FaviconIsAnsweredEmptyWithoutAReadAndOnlyTheExactPath) {
    ZirService service(kIdentityCard);
    RawHttpClient client(service.Port);
    client.Send(GetRequest("/favicon.ico?type=UID"));
    auto favicon = client.ReadResponse();
    ASSERT_TRUE(favicon);
    EXPECT_EQ(favicon->Raw(), "HTTP/1.1 200 OK\r\n"
                              "Connection: keep-alive\r\n"
                              "Content-Type: text/html\r\n"
                              "Content-Length: 0\r\n"
                              "Server: Indy/9.00.10\r\n"
                              "\r\n");
    // The connection stays open and the next request is served; only it is logged.
    client.Send(GetRequest("/FAVICON.ICO?type=uid"));
    auto card = client.ReadResponse();
    ASSERT_TRUE(card);
    EXPECT_EQ(card->Header("Content-Type"), "application/json");
    EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /FAVICON.ICO; TYPE: UID]");
    // Nothing was logged for the favicon between the start line and this request.
    auto lines = service.LogLinesFrom(0);
    ASSERT_GE(service.SeenLines, 2u);
    EXPECT_EQ(lines[service.SeenLines - 2].rfind("==SERVER START SUCCESS", 0), 0u);
}

TEST(ServiceEndToEnd, OptionsGetsNoAnswerAndHttp10WithConnectionCloseStaysOpen) {
    ZirService service(kIdentityCard);
    {
        RawHttpClient preflight(service.Port);
        preflight.Send(
            "OPTIONS /?type=UID HTTP/1.1\r\nHost: 127.0.0.1\r\nOrigin: http://x\r\n\r\n");
        EXPECT_TRUE(preflight.ClosedByPeer());
    }
    RawHttpClient old(service.Port);
    old.Send("GET /?type=UID HTTP/1.0\r\nConnection: close\r\n\r\n");
    auto first = old.ReadResponse();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Header("Connection"), "keep-alive");
    old.Send("GET /?type=UID HTTP/1.0\r\nConnection: close\r\n\r\n");
    auto second = old.ReadResponse();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->Body, first->Body);
}

TEST(ServiceEndToEnd, TheSameCardTwiceComesFromTheCacheOnlyWhenWebCacheIsOne) {
    ZirService service(kIdentityCard, {.WebCache = 1});
    auto first = service.Get("/");
    EXPECT_EQ(service.NextLogLine("DECODE"), "##DECODE SUCCESS --> 张三");
    auto second = service.Get("/");
    EXPECT_EQ(service.NextLogLine("DECODE"), "##DECODE SUCCESS[CACHE] --> 张三");
    EXPECT_EQ(second.Body, first.Body);

    service.Reload({.WebCache = 0});
    service.Get("/");
    service.Get("/");
    EXPECT_EQ(service.NextLogLine("DECODE"), "##DECODE SUCCESS --> 张三");
    EXPECT_EQ(service.NextLogLine("DECODE"), "##DECODE SUCCESS --> 张三");
}

TEST(ServiceEndToEnd, CurlGetsTheSameBodies) {
    ZirService service(kIdentityCard, {.WebCache = 0});
    std::string url = "http://127.0.0.1:" + std::to_string(service.Port);
    for (const std::string target : {"/?type=UID", "/"}) {
        auto raw = service.Get(target);
        auto curl = RunProgram("/usr/bin/curl", {"-s", "--max-time", "20", url + target});
        EXPECT_EQ(curl.ExitCode, 0);
        EXPECT_EQ(curl.Out, raw.Body);
    }
    // HEAD: GET's head with GET's length, and no body.
    auto uid = service.Get("/?type=UID");
    auto head = RunProgram("/usr/bin/curl", {"-s", "-I", "--max-time", "20", url + "/?type=UID"});
    EXPECT_EQ(head.ExitCode, 0);
    EXPECT_EQ(head.Out, uid.Head);
}

TEST(ServiceEndToEnd, ADecodedLineBreakInThePathCannotForgeALogLine) {
    ZirService service(kIdentityCard);
    service.Get("/x%0D%0A##DECODE%20SUCCESS%20--%3E%20forged?type=UID");
    EXPECT_EQ(service.NextLogLine("##"),
              "##REQUEST --> [URI: /x\\x0D\\x0A##DECODE SUCCESS --> forged; TYPE: UID]");
    EXPECT_EQ(service.NextLogLine("##"), "##READ SUCCESS --> 身份证 : A1B2C3D4");
}

TEST(ServiceEndToEnd, BytesThatAreNotUtf8LeaveTheDocumentsAndTheLogAsReplacementCharacters) {
    // A UID of "A", a byte no UTF-8 text holds, "B" and a well-formed "中"; the path carries a
    // lone 0xFF and a well-formed "中" too.
    ZirService service(std::string(kIdentityCard) + "Uid.hex=41FE42E4B8AD\n", {.WebCache = 0});
    const std::string uid = "A\xEF\xBF\xBD"
                            "B中";
    auto full = service.Get("/%FF%E4%B8%AD");
    JsonValue doc;
    std::string error;
    ASSERT_TRUE(StrictJsonReader::Parse(full.Body, doc, error)) << error << "\n" << full.Body;
    EXPECT_EQ(doc.Find("uid")->text, uid);
    EXPECT_EQ(doc.Find("name")->text, "张三");
    EXPECT_EQ(service.NextLogLine("##"), "##REQUEST --> [URI: /\xEF\xBF\xBD中; TYPE: ]");

    auto uidAnswer = service.Get("/?type=UID");
    JsonValue uidDoc;
    EXPECT_TRUE(StrictJsonReader::Parse(uidAnswer.Body, uidDoc, error)) << error;
    EXPECT_EQ(service.NextLogLine("##READ"), "##READ SUCCESS --> 身份证 : " + uid);
}
