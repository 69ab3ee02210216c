#include <gtest/gtest.h>

#include <string>

#include "net/ChangeListCodec.h"

namespace kivtal {
namespace {

TEST(ChangeContentEscaping, EscapesFormCharactersAndMarksPercentsADecoderWouldRead) {
    struct Case {
        const char* values;
        const char* escaped;
    };
    const Case cases[] = {
        {"a+b=c", "a%2Bb%3Dc"},
        {"%2B", "%^2B"},
        {"%2b %3f %3d", "%^2b %^3f %^3d"},  // the mark keeps the case
        {"%3F%23%26%3D", "%^3F%^23%^26%^3D"},
        {"%2F and %2f", "%^2F and %^2f"},
        {"%27 and ' and %2B", "%^27 and %27 and %^2B"},  // a typed "%27" is not the quote's escape
        {"/+?#&='", "%2F%2B%3F%23%26%3D%27"},
        {"C:%5cdata %5C", "C:%^5cdata %^5C"},                  // never a backslash on the wire
        {"%^2B %^_^ %^", "%^^2B %^^_^ %^^"},                   // a typed mark is marked itself
        {"100% sure, %25, %41, %", "100% sure, %25, %41, %"},  // other percents stay
        {"%/ %%2B", "%%2F %%^2B"},
        {"张三~麤^李四", "张三~麤^李四"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(EscapeChangeContent(c.values), c.escaped) << c.values;
}

TEST(ChangeListEncoding, WritesCompactSortedMembersAndALineBreak) {
    SyncRecord r;
    r.s_row_id = 12;
    r.s_values = "12~麤^张三";
    r.s_server_id = 0;
    r.main_tab = 1;
    r.oper_code = 1;
    r.oper_ways = 2;
    r.oper_time = 1700000000;
    SyncRecord second = r;
    second.oper_code = 5;
    second.s_values = "a+b";
    EXPECT_EQ(
        EncodeChangeList({r, second}),
        "{\"escaping\":\"2\",\"opers\":[{\"client_id\":\"12\",\"content\":\"12~麤^张三\",\"id\":\"0\",\"main\":\"1\","
        "\"oper_id\":\"1\",\"oper_ways\":\"2\",\"time\":\"1700000000\"},"
        "{\"client_id\":\"12\",\"content\":\"a%2Bb\",\"id\":\"0\",\"main\":\"1\","
        "\"oper_id\":\"5\",\"oper_ways\":\"2\",\"time\":\"1700000000\"}]}\n");
}

TEST(ChangeListEncoding, EmptyListIsNull) { EXPECT_EQ(EncodeChangeList({}), "null\n"); }

TEST(ChangeListEncoding, BackslashesOfTheDocumentBecomePercent5c) {
    SyncRecord r;
    r.s_values = "a\\b\"c\nd";
    const std::string doc = EncodeChangeList({r});
    // The writer doubles the backslash and escapes the quote and line break first.
    EXPECT_NE(doc.find("\"content\":\"a%5c%5cb%5c\"c%5cnd\""), std::string::npos) << doc;
    EXPECT_EQ(doc.find('\\'), std::string::npos);
}

TEST(ChangeListEncoding, KeepsTextOutsideGbkAndRepairsBrokenUtf8) {
    SyncRecord r;
    r.s_values = "\xF0\x9F\x98\x80 ok \xFF";  // an emoji, then a stray byte
    const std::string doc = EncodeChangeList({r});
    EXPECT_NE(doc.find("\"content\":\"\xF0\x9F\x98\x80 ok \xEF\xBF\xBD\""), std::string::npos) << doc;
}

}  // namespace
}  // namespace kivtal
