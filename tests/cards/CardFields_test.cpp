#include "cards/CardFields.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kivtal::cards {
namespace {

// A line at row `row` of a card: rows are 40 px apart, `height` is its type size.
TextLine L(std::string text, int row, int height = 20, int confidence = 90) {
    return {std::move(text), 40, row * 40, 300, height, confidence};
}

using Fields = std::map<std::string, std::string>;  // key -> value; missing keys must be empty

struct CardCase {
    const char* what;
    std::vector<TextLine> lines;
    Fields expected;
};

// clang-format off: each case reads as the card it stands for
const CardCase kCases[] = {
    {"Chinese card with labels, full-width colons and the engine's spaces",
     {L("上 海 华 信 科 技 有 限 公 司", 0, 24), L("张 伟", 1, 56), L("销 售 经 理", 2, 22),
      L("手 机 ： 138 0013 8000", 4), L("电 话 ： 021-62345678", 5), L("传 真 ： 021-62345679", 6),
      L("邮 箱 ： zhangwei@huaxin.com.cn", 7), L("地 址 ： 上 海 市 浦 东 新 区 中 山 路 88 号", 8)},
     {{"name", "张伟"},
      {"company", "上海华信科技有限公司"},
      {"position", "销售经理"},
      {"mobile", "13800138000"},
      {"office_phone", "021-62345678"},
      {"fax", "021-62345679"},
      {"email", "zhangwei@huaxin.com.cn"},
      {"company_address", "上海市浦东新区中山路88号"}}},
    {"English card: the largest short line is the name, unlabelled numbers by shape",
     {L("Greenfield Construction Inc.", 0, 26), L("Nancy Brown", 1, 60), L("CEO", 2, 20), L("Cell: 188 5583 6320", 4),
      L("T: 0512-38356751", 5), L("nancy.brown@greenfield.net", 6), L("www.greenfield.net", 7),
      L("Address: 126 Lake View Drive, Suzhou", 8)},
     {{"name", "Nancy Brown"},
      {"company", "Greenfield Construction Inc."},
      {"position", "CEO"},
      {"mobile", "18855836320"},
      {"office_phone", "0512-38356751"},
      {"email", "nancy.brown@greenfield.net"},
      {"web_site", "www.greenfield.net"},
      {"company_address", "126 Lake View Drive, Suzhou"}}},
    {"bilingual card keeps the Chinese company and title; name and title read as one tall line",
     {L("南京联创信息技术有限公司", 0, 30), L("Nanjing Lianchuang Information Technology Co., Ltd.", 1, 18),
      L("杨 强   高 级 工 程 师", 2, 60), L("Senior Engineer", 3, 18), L("M: 13964382590", 4),
      L("Tel：025-23954072", 5), L("QQ：2621712235", 6)},
     {{"name", "杨强"},
      {"company", "南京联创信息技术有限公司"},
      {"position", "高级工程师"},
      {"mobile", "13964382590"},
      {"office_phone", "025-23954072"},
      {"qq", "2621712235"}}},
    {"two labelled numbers on one line, +86 and letters read for digits",
     {L("李娜", 0, 50), L("Tel: +86 10 8765 4321  Fax: 010-8765432l", 1), L("手机 +86 l39-O123-4567", 2)},
     {{"name", "李娜"}, {"mobile", "13901234567"}, {"office_phone", "010-87654321"}, {"fax", "010-87654321"}}},
    {"a mobile under a Tel label goes to the mobile; a title word after a label is no number",
     {L("王芳", 0, 50), L("Office Manager", 1), L("Tel: 139 1234 5678", 2)},
     {{"name", "王芳"}, {"position", "Office Manager"}, {"mobile", "13912345678"}}},
    {"the engine's slips in e-mail addresses and a misread mobile label",
     {L("邮箱：]ppcbue@zhengtai.com", 0), L("FHL +86 188 3843 7393", 2)},
     {{"email", "lppcbue@zhengtai.com"}, {"mobile", "18838437393"}}},
    {"a capital I in a lower-case address, a misread top-level domain",
     {L("E-mail: Itw@yuanjing.en", 0)},
     {{"email", "ltw@yuanjing.cn"}}},
    {"a label's colon read as a mark joined to the address",
     {L("Email:_rbmdr@shengshi.com.cn", 0)},
     {{"email", "rbmdr@shengshi.com.cn"}}},
    {"junk and numbers of no known shape fill nothing",
     {L("~ | ;: ,", 0, 50, 20), L("12345", 1), L("Tel: 2345", 2), L("邮箱：not an address", 3)},
     {}},
};
// clang-format on

TEST(CardFields, LineSetsToFields) {
    constexpr CardField kAll[] = {
        CardField::kName, CardField::kCompany, CardField::kPosition, CardField::kMobile, CardField::kOfficePhone,
        CardField::kFax,  CardField::kEmail,   CardField::kWebSite,  CardField::kQq,     CardField::kAddress};
    for (const CardCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const CardReading reading = ReadCardFields(c.lines);
        for (CardField f : kAll) {
            const std::string key(CardFieldKey(f));
            const auto want = c.expected.find(key);
            EXPECT_EQ(reading[f].value, want == c.expected.end() ? "" : want->second) << key;
            if (want != c.expected.end()) {
                EXPECT_GE(reading[f].confidence, kConfidentReading) << key;
            }
        }
    }
}

TEST(CardFields, ConfidenceFollowsEvidence) {
    // A labelled number outranks a guessed one; the engine's doubt lowers a field.
    const CardReading sure = ReadCardFields({L("手机：13800138000", 0, 20, 95)});
    const CardReading doubtful = ReadCardFields({L("手机：13800138000", 0, 20, 30)});
    const CardReading shaped = ReadCardFields({L("13800138000", 0, 20, 95)});
    EXPECT_GT(sure[CardField::kMobile].confidence, shaped[CardField::kMobile].confidence);
    EXPECT_GT(sure[CardField::kMobile].confidence, doubtful[CardField::kMobile].confidence);
    // A name of an unknown surname on a line no larger than the rest is only a guess.
    const CardReading guess = ReadCardFields({L("Foo Bar", 0), L("Tel: 021-62345678", 1)});
    EXPECT_LT(guess[CardField::kName].confidence, kConfidentReading);
}

TEST(CardFields, NormalisesEngineText) {
    EXPECT_EQ(NormaliseLineText("  张 三 ：Ｔｅｌ　０２１ "), "张三:Tel 021");
    EXPECT_EQ(NormaliseLineText("Co.,  Ltd."), "Co., Ltd.");
    EXPECT_EQ(NormaliseLineText(""), "");
}

}  // namespace
}  // namespace kivtal::cards
