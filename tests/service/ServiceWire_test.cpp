// Decoding what the client puts on the wire: raw forms, the change list and its
// content escaping, the key chain and the password digest.
#include <gtest/gtest.h>

#include "ChangeList.h"
#include "Crypto.h"
#include "FormBody.h"

namespace kivtal::service {
namespace {

TEST(ClientForm, TailFieldRunsToTheEndOfTheBody) {
    const auto f = ParseClientForm("key=k1&visitor=1&unique_id=D&user_id=7&opers={\"a\":\"x&y=z\"}\n", "opers");
    EXPECT_EQ(Field(f, "key"), "k1");
    EXPECT_EQ(Field(f, "user_id"), "7");
    EXPECT_EQ(Field(f, "opers"), "{\"a\":\"x&y=z\"}\n");
    // Identity values are raw: a '+' or '%' in them is not decoded.
    EXPECT_EQ(Field(ParseClientForm("unique_id=AB+C%41"), "unique_id"), "AB+C%41");
}

TEST(ClientForm, BrowserFormsAreUrlDecoded) {
    const auto f = ParseBrowserForm("username=%E5%BC%A0+san&password=a%2Bb&x");
    EXPECT_EQ(Field(f, "username"), "张 san");
    EXPECT_EQ(Field(f, "password"), "a+b");
    EXPECT_EQ(PercentDecode("100%", false), "100%");
    EXPECT_EQ(PercentDecode("%zz%4", false), "%zz%4");
}

TEST(ChangeContent, UndoesTheClientEscapingInReverseOrder) {
    const struct {
        const char* wire;
        const char* value;
    } cases[] = {
        {"a%2Bb%3Dc", "a+b=c"},
        {"%^2B", "%2B"},  // protected escape-like text stays literal
        {"%^2F%2F%^3D", "%2F/%3D"},
        {"x%27y%26z%23%3F", "x'y&z#?"},
        {"%^27 and %27 and %^2B", "%27 and ' and %2B"},  // a typed "%27" stays text
        {"%%2F", "%/"},                                  // a lone '%' is never escaped
        {"100%", "100%"},
        {"张三~\xE9\xBA\xA4^%2Fhome", "张三~\xE9\xBA\xA4^/home"},
    };
    for (const auto& c : cases) EXPECT_EQ(UnescapeContent(c.wire), c.value) << c.wire;
}

TEST(ChangeContent, ReversibleEscapingDropsEachMarkOnceAndDecodesTheRestAsText) {
    const struct {
        const char* wire;
        const char* value;
    } cases[] = {
        {"a%2Bb%3Dc%2F%3F%23%26%27", "a+b=c/?#&'"},
        {"%^2B %^2b %^5c %^5C", "%2B %2b %5c %5C"},
        {"%^^2B %^^_^ %^^", "%^2B %^_^ %^"},
        {"%^27 and %27", "%27 and '"},
        {"%%2F %%^2B", "%/ %%2B"},
        {"100%, %25, %41, %2", "100%, %25, %41, %2"},  // what no client marks stays as it is
        {"%2b", "%2b"},                                // escapes are upper case
    };
    for (const auto& c : cases) EXPECT_EQ(UnescapeReversibleContent(c.wire), c.value) << c.wire;
}

TEST(ChangeList, TheEscapingMemberChoosesHowContentsAreDecoded) {
    const std::string entry =
        "[{\"client_id\":\"3\",\"content\":\"C:%^5cdata %^^2B %^2B\",\"id\":\"0\",\"main\":\"1\","
        "\"oper_id\":\"6\",\"oper_ways\":\"1\",\"time\":\"1\"}]";
    const auto reversible = DecodeChangeList("{\"escaping\":\"2\",\"opers\":" + entry + "}\n");
    ASSERT_TRUE(reversible && reversible->size() == 1u);
    EXPECT_EQ((*reversible)[0].content, "C:%5cdata %^2B %2B");
    // A document without the member is an older client's: its marks are read as before.
    const auto older = DecodeChangeList("{\"opers\":" + entry + "}\n");
    ASSERT_TRUE(older && older->size() == 1u);
    EXPECT_EQ((*older)[0].content, "C:%^5cdata %^^2B %2B");
}

TEST(ChangeList, DecodesTheDocumentAClientSends) {
    const std::string doc =
        "{\"opers\":[{\"client_id\":\"3\",\"content\":\"a%5c%5cb%2Bc\",\"id\":\"0\",\"main\":\"1\","
        "\"oper_id\":\"6\",\"oper_ways\":\"1\",\"time\":\"1700000000\"}]}\n";
    const auto list = DecodeChangeList(doc);
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1u);
    const Change& c = (*list)[0];
    EXPECT_EQ(c.oper_id, 6);
    EXPECT_EQ(c.oper_ways, 1);
    EXPECT_EQ(c.client_id, 3);
    EXPECT_EQ(c.time, 1700000000);
    EXPECT_EQ(c.content, "a\\b+c");  // one backslash travels as two "%5c"

    const auto empty = DecodeChangeList("null\n");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(ChangeList, RefusesWhatNoClientWrites) {
    const char* bad[] = {
        "",
        "{\"opers\":",
        "[1,2]",
        "{\"opers\":[{\"client_id\":\"1\",\"content\":\"x\",\"id\":\"0\",\"main\":\"1\",\"oper_id\":\"12\","
        "\"oper_ways\":\"1\",\"time\":\"0\"}]}",
        "{\"opers\":[{\"client_id\":\"1\",\"content\":\"x\",\"id\":\"0\",\"main\":\"1\",\"oper_id\":\"1\","
        "\"oper_ways\":\"3\",\"time\":\"0\"}]}",
        "{\"opers\":[{\"client_id\":\"1; DROP TABLE x\",\"content\":\"x\",\"id\":\"0\",\"main\":\"1\","
        "\"oper_id\":\"1\",\"oper_ways\":\"1\",\"time\":\"0\"}]}",
    };
    for (const char* doc : bad) EXPECT_FALSE(DecodeChangeList(doc)) << doc;
}

TEST(Digests, KeyChainAndPasswordDigestMatchTheClient) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(RequestKey("17", "BFEBFBFF000906EAWD-WCC123", "5f2c"), "5724860b997b285dbf68b5d07a925a5b");
    // All parts empty: the key is the MD5 of the empty text's digest written three times.
    EXPECT_EQ(RequestKey("", "", ""), Md5Hex(Md5Hex("") + Md5Hex("") + Md5Hex("")));
    EXPECT_EQ(ClientPasswordDigest("demo123"), "4aa59776065aba3690db41623659ec9b");
    // Chinese passwords are digested in the 8-bit Chinese code page, as the client does.
    EXPECT_EQ(ClientPasswordDigest("密码1"), "fdfd97badd0dee180ad0f97ff17febb3");
}

TEST(Digests, StoredPasswordsAreSaltedAndVerifiable) {
    const std::string a = HashPassword("4aa59776065aba3690db41623659ec9b");
    const std::string b = HashPassword("4aa59776065aba3690db41623659ec9b");
    EXPECT_NE(a, b);
    EXPECT_EQ(a.find("4aa59776065aba3690db41623659ec9b"), std::string::npos);
    EXPECT_TRUE(VerifyPassword(a, "4aa59776065aba3690db41623659ec9b"));
    EXPECT_FALSE(VerifyPassword(a, "4aa59776065aba3690db41623659ec9c"));
    EXPECT_FALSE(VerifyPassword("garbage", "x"));
}

TEST(Base64, DecodesStandardTextAndRefusesTheRest) {
    EXPECT_EQ(Base64Decode("/9j/4A=="), std::string("\xFF\xD8\xFF\xE0", 4));
    EXPECT_EQ(Base64Decode("YWJj"), "abc");
    EXPECT_EQ(Base64Decode(""), "");
    for (const char* bad : {"YWJ", "YW=j", "YW\nJj", "YWJj%2B=="}) EXPECT_FALSE(Base64Decode(bad)) << bad;
}

}  // namespace
}  // namespace kivtal::service
