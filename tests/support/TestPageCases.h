#pragma once

// The test page's lines for one card of each type: `zir read` prints them, and the Windows
// program's test page shows them. Data only, so that the Windows GUI tests can use it as well.

#include <string>
#include <vector>

namespace zir::test {

inline const std::string kTestPageRule = "==================";

// The card file's fields that every type below reads some of.
inline const std::string kTestPageCardFields =
    "Name=张三\nSex=男\nNation=汉\nBirthday=19900101\n"
    "Address=北京市\nIdCode=110101199001010031\nDepartment=公安局\n"
    "StartDate=20200101\nEndDate=20400101\nPassNum=H123\n"
    "NameEn=ZHANG SAN\nCountry=加拿大\nCountryCode=CAN\nUid=U1\n";

struct TestPageCase {
    int Type;
    std::vector<std::string> Lines; // ending with the rule and an empty line
};

inline std::vector<TestPageCase> TestPageCasesByType() {
    const std::string& rule = kTestPageRule;
    return {
        {1,
         {"##身份证", "张三", "男", "汉", "19900101", "北京市", "110101199001010031", "公安局",
          "20200101", "20400101", "U1", rule, ""}},
        {2,
         {"##港澳台居住证", "张三", "男", "19900101", "北京市", "110101199001010031", "H123",
          "公安局", "20200101", "20400101", "U1", rule, ""}},
        {3,
         {"##外国人永居证17版", "张三", "ZHANG SAN", "男", "加拿大", "CAN", "19900101",
          "110101199001010031", "公安局", "20200101", "20400101", "U1", rule, ""}},
        {4,
         {"##外国人永居证23版", "张三", "ZHANG SAN", "男", "加拿大", "CAN", "19900101",
          "110101199001010031", "公安局", "20200101", "20400101", "U1", rule, ""}},
        {7, {"##其他证件", "其他证件", "U1", rule, ""}},
    };
}

} // namespace zir::test
