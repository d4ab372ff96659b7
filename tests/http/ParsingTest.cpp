// Header list, parameter decoding, request path and Basic credentials.

#include <gtest/gtest.h>

#include "http/BasicAuthorization.h"
#include "http/EIdException.h"
#include "http/ParamDecoding.h"
#include "http/RequestPath.h"
#include "http/TIdHTTPResponseInfo.h"
#include "http/TIdHeaderList.h"

using namespace zir::http;

TEST(HeaderList, LookupSetAndRemove) {
    TIdHeaderList list;
    list.Add("Content-Type: text/plain");
    list.Add("X-Long:  first ");
    list.Add(" second\t");
    list.Add("\tthird");
    list.Add("content-type: other");
    list.Add("NoColon");
    EXPECT_EQ(list.Values("CONTENT-TYPE"), "text/plain");
    EXPECT_EQ(list.Values("x-long"), "first second third");
    EXPECT_EQ(list.Values("NoColon"), "");
    EXPECT_EQ(list.Values("Missing"), "");

    list.SetValue("Content-Type", "a/b");
    EXPECT_EQ(list[0], "Content-Type: a/b");
    EXPECT_EQ(list[4], "content-type: other");
    list.SetValue("New", "v");
    EXPECT_EQ(list[list.Count() - 1], "New: v");
    list.SetValue("content-type", "");
    EXPECT_EQ(list.Values("Content-Type"), "other");
}

TEST(ParamDecoding, PiecesAndPercentRules) {
    EXPECT_TRUE(DecodeParams("").empty());
    EXPECT_EQ(DecodeParams("a=1&&b=2&"), (std::vector<std::string>{"a=1", "", "b=2", ""}));
    EXPECT_EQ(DecodeParams("&"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(DecodeUrlPart("%41"), "A");
    EXPECT_EQ(DecodeUrlPart("a+b"), "a b");
    EXPECT_EQ(DecodeUrlPart("%2B"), "+");
    EXPECT_EQ(DecodeUrlPart("x%00y"), "xy");
    EXPECT_EQ(DecodeUrlPart("x%zzy"), "xy");
    EXPECT_EQ(DecodeUrlPart("x%4zy"), "xy");
    EXPECT_EQ(DecodeUrlPart("%ff%FE"), "\xff\xfe");
    EXPECT_EQ(DecodeUrlPart("end%"), "end");
    EXPECT_EQ(DecodeUrlPart("end%7"), "end\x07");
    // Decoding comes before the split into name and value.
    EXPECT_EQ(DecodeParams("na%3Dme=v"), (std::vector<std::string>{"na=me=v"}));
    // A body and a query string decode as their CR LF join would, escapes across it included.
    for (auto [body, query] : std::vector<std::pair<std::string, std::string>>{
             {"", ""}, {"a=1", ""}, {"", "b=2"}, {"x=1&y=%4", "1&z"}, {"%", "41"}, {"a&", "&"}}) {
        std::string joined = body.empty() ? query : query.empty() ? body : body + "\r\n" + query;
        EXPECT_EQ(DecodeParams(body, query), DecodeParams(joined)) << body << "|" << query;
        EXPECT_EQ(zir::http::JoinParamText(body, query), joined);
    }
}

TEST(RequestPath, RelativeAbsoluteAndStar) {
    EXPECT_EQ(ComputeRequestPath("*").RequestPath, "*");
    EXPECT_EQ(ComputeRequestPath("/").RequestPath, "/");
    EXPECT_EQ(ComputeRequestPath("/favicon.ico").RequestPath, "/favicon.ico");
    EXPECT_EQ(ComputeRequestPath("").RequestPath, "");
    EXPECT_EQ(ComputeRequestPath("/a%20b/c+d").RequestPath, "/a b/c d");
    // From the first "=" on nothing is decoded; it is cut before its "#".
    EXPECT_EQ(ComputeRequestPath("/x/y=%41#frag").RequestPath, "/x/y=%41");
    EXPECT_EQ(ComputeRequestPath("\\dir\\file").RequestPath, "/dir/file");
    // "\xB5\x5C" is one GBK character whose second byte is a backslash.
    EXPECT_EQ(ComputeRequestPath("/\xB5\x5C\\x").RequestPath, "/\xB5\x5C/x");

    auto absolute = ComputeRequestPath("http://u:p@host.test:81/a/b%41.html#top");
    EXPECT_EQ(absolute.RequestPath, "/a/bA.html");
    EXPECT_EQ(absolute.Host, "host.test");
    EXPECT_EQ(ComputeRequestPath("http://host.test").RequestPath, "/");
    EXPECT_EQ(ComputeRequestPath("http://h/d/doc=v#x").RequestPath, "/d/doc=v");
}

TEST(BasicAuthorization, SchemeAndLength) {
    auto credentials = DecodeBasicAuthorization("Basic dXNlcjpwYXNz");
    EXPECT_EQ(credentials.Username, "user");
    EXPECT_EQ(credentials.Password, "pass");
    EXPECT_EQ(DecodeBasicAuthorization("BASIC bm9jb2xvbg==").Username, "nocolon");
    EXPECT_EQ(DecodeBase64("YQ=="), "a");
    EXPECT_EQ(DecodeBase64("YWI="), "ab");
    EXPECT_THROW(
        {
            try {
                DecodeBasicAuthorization("Bearer abcd");
            } catch (const EIdException& error) {
                EXPECT_STREQ(error.what(), "Unsupported authorization scheme.");
                throw;
            }
        },
        EIdException);
    try {
        DecodeBasicAuthorization("Basic abc");
        ADD_FAILURE();
    } catch (const EIdException& error) {
        EXPECT_STREQ(error.what(), "Uneven size in DecodeToStream.");
    }
}

TEST(ResponseInfo, ReasonPhrasesAndConnectionFollowTheCode) {
    EXPECT_EQ(TIdHTTPResponseInfo::ReasonPhraseFor(203), "Non-authoritative Information");
    EXPECT_EQ(TIdHTTPResponseInfo::ReasonPhraseFor(413), "Request Entity To Long");
    EXPECT_EQ(TIdHTTPResponseInfo::ReasonPhraseFor(414), "Request-URI Too Long. 256 Chars max");
    EXPECT_EQ(TIdHTTPResponseInfo::ReasonPhraseFor(504), "Gateway timeout");
    EXPECT_EQ(TIdHTTPResponseInfo::ReasonPhraseFor(418), "Unknown Response Code");
}
