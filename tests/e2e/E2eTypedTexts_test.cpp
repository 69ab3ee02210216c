// Whatever a user can type reaches the other device exactly: percent signs that look
// like escapes, backslashes, quotes, markup, characters beyond the basic plane, marks,
// right-to-left text and line breaks, in a contact's texts and a matter's description.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "e2e/E2eFixture.h"

namespace kivtal::e2e {
namespace {

// clang-format off
// One text per line, so the table reads as the list of what is tried.
const std::vector<std::string> kTypedTexts = {
    "%", "100% sure", "%25", "%2B", "%2b", "%3d%3F", "%27", "%2F and %2f",
    "%^2B", "%^", "%^^5c", "%5c", "C:%5cdata", "%5C", "%%5c%",
    "\\", "C:\\data\\new", "\\u0041 \\n",
    "\"quoted\" and 'single'", "<b>a&amp;b</b><script>x()</script>",
    "a+b=c/d?e#f&g", "\xF0\x9F\x98\x80\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD",  // emoji, one with a skin tone
    "\xF0\xA0\x80\x80\xF0\xAA\x9A\xA5\xF0\xB0\xBB\x9E",                  // rare CJK beyond the basic plane
    "e\xCC\x81 n\xCC\x83 \xE1\x84\x80\xE1\x85\xA1",                      // combining marks, conjoining jamo
    "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A \xE2\x80\x8F!",  // right to left
    "第一行\n第二行\r\n第三行\r", "a\tb",
};
// clang-format on

using TypedTexts = TwoDeviceTest;

TEST_F(TypedTexts, EveryTextArrivesExactlyOnTheOtherDevice) {
    for (std::size_t i = 0; i < kTypedTexts.size(); ++i) {
        const std::string& text = kTypedTexts[i];
        const std::string name = "文本" + std::to_string(i);
        ASSERT_GT(A().add({"contacts", "add", "--name", name, "--comment", text, "--company", text + name}), 0) << text;
        ASSERT_GT(A().add({"matters", "add", "--description", text, "--start", "2026-12-01 09:00", "--end",
                           "2026-12-01 10:00"}),
                  0)
            << text;
    }
    A().sync();
    B().sync();

    std::vector<std::string> comments(kTypedTexts.size()), companies(kTypedTexts.size());
    for (const Json::Value& row : B().json({"contacts", "list"})) {
        const Json::Value card = B().json({"contacts", "show", std::to_string(row["id"].asInt())});
        ASSERT_EQ(card.size(), 1u);
        const std::size_t i = std::stoul(card[0]["name"].asString().substr(std::string("文本").size()));
        ASSERT_LT(i, kTypedTexts.size());
        comments[i] = card[0]["comment"].asString();
        companies[i] = card[0]["company"].asString();
    }
    std::multiset<std::string> descriptions;
    for (const Json::Value& m : B().json({"matters", "list", "--at", "2026-12-01 09:30"}))
        descriptions.insert(m["description"].asString());
    for (std::size_t i = 0; i < kTypedTexts.size(); ++i) {
        const std::string& text = kTypedTexts[i];
        EXPECT_EQ(comments[i], text);
        EXPECT_EQ(companies[i], text + "文本" + std::to_string(i));
    }
    EXPECT_EQ(descriptions, std::multiset<std::string>(kTypedTexts.begin(), kTypedTexts.end()));
    A().sync();
    EXPECT_EQ(snapshot(A()), snapshot(B()));
}

}  // namespace
}  // namespace kivtal::e2e
