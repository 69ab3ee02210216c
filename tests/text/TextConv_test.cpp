#include "text/TextConv.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace kivtal {
namespace {

using namespace std::string_literals;

// The system's own CP936 table, asked one code at a time, is the oracle for the code page.
class Cp936Oracle {
public:
    Cp936Oracle() : cd_(iconv_open("UTF-16LE", "CP936")) {}
    ~Cp936Oracle() { iconv_close(cd_); }

    // The UTF-16 unit for a double-byte code, or 0 when CP936 does not define it.
    char16_t Map(unsigned char lead, unsigned char trail) {
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        unsigned char out[4] = {};
        char* inPtr = in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 2, outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) return 0;
        if (outLeft != 2) return 0;
        return static_cast<char16_t>(out[0] | (out[1] << 8));
    }

private:
    iconv_t cd_;
};

TEST(TextConv, EmptyInputsGiveEmptyOutputs) {
    EXPECT_EQ(Utf8ToWide(""), u"");
    EXPECT_EQ(WideToUtf8(u""), "");
    EXPECT_EQ(AnsiToWide(""), u"");
    EXPECT_EQ(WideToAnsi(u""), "");
    EXPECT_EQ(Utf8ToAnsi(""), "");
    EXPECT_EQ(AnsiToUtf8(""), "");
    EXPECT_EQ(Utf8CharsToWide(""), u"");
    EXPECT_EQ(Utf8CharsToWide(nullptr), u"");
    auto buffer = WideToAnsiBuffer(u"");
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer[0], '\0');
}

struct Utf8Case {
    const char* name;
    std::string utf8;
    std::u16string wide;
};

class Utf8Decoding : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Decoding, RepairsWithReplacementCharacter) { EXPECT_EQ(Utf8ToWide(GetParam().utf8), GetParam().wide); }

INSTANTIATE_TEST_SUITE_P(TextConv, Utf8Decoding,
                         testing::Values(Utf8Case{"LoneContinuation", "\x80", u"\uFFFD"},
                                         Utf8Case{"ContinuationBetweenLetters", "a\x80z", u"a\uFFFDz"},
                                         Utf8Case{"TruncatedAtEnd", "\xE5\xBC", u"\uFFFD"},
                                         Utf8Case{"TruncatedBeforeAscii",
                                                  "\xE5\xBC"
                                                  "a",
                                                  u"\uFFFDa"},
                                         Utf8Case{"TruncatedBeforeChinese", "\xE5\xBC\xE5\xBC\xA0", u"\uFFFD张"},
                                         Utf8Case{"Overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
                                         Utf8Case{"OverlongThreeByte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
                                         Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                                         Utf8Case{"BeyondU10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                                         Utf8Case{"ByteFF", "\xFF", u"\uFFFD"},
                                         Utf8Case{"SupplementaryCharacter", "\xF0\x9F\x98\x80", u"\U0001F600"},
                                         Utf8Case{"EmbeddedZeroKept", "a\0b"s, u"a\0b"s},
                                         Utf8Case{"FieldSeparator", "~麤^", u"~麤^"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextConv, LoneSurrogatesBecomeReplacementInUtf8) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(WideToUtf8(u"a\xD800z"), "a" + fffd + "z");
    EXPECT_EQ(WideToUtf8(u"\xDC00\xD800"), fffd + fffd);  // pair in the wrong order
    EXPECT_EQ(WideToUtf8(u"x\xD83D"), "x" + fffd);        // high surrogate at the end
    EXPECT_EQ(WideToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

// Every scalar value, one after another, against the system's own UTF-8 decoder.
TEST(TextConv, Utf8AndUtf16AgreeWithIconvForEveryScalarValue) {
    std::u16string wide;
    for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        if (cp < 0x10000) {
            wide.push_back(static_cast<char16_t>(cp));
        } else {
            wide.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
    }
    const std::string utf8 = WideToUtf8(wide);

    iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
    std::string expected(wide.size() * 2, '\0');
    char* inPtr = const_cast<char*>(utf8.data());
    char* outPtr = expected.data();
    size_t inLeft = utf8.size(), outLeft = expected.size();
    ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1));
    iconv_close(cd);
    ASSERT_EQ(outLeft, 0u);
    ASSERT_EQ(std::memcmp(expected.data(), wide.data(), expected.size()), 0);

    EXPECT_EQ(Utf8ToWide(utf8), wide);
}

TEST(TextConv, GbkKnownCharacters) {
    EXPECT_EQ(WideToAnsi(u"ü"), "\xA8\xB9");
    EXPECT_EQ(AnsiToWide("\xA8\xB9"), u"ü");
    EXPECT_EQ(Utf8ToAnsi("张三 Li"), "\xD5\xC5\xC8\xFD Li");
    EXPECT_EQ(AnsiToUtf8("\xD5\xC5\xC8\xFD Li"), "张三 Li");
    EXPECT_EQ(AnsiToWide("\x80"), u"€");
    EXPECT_EQ(WideToAnsi(u"a\0b"s), "a\0b"s);
}

TEST(TextConv, CharactersOutsideGbkBecomeQuestionMark) {
    EXPECT_EQ(WideToAnsi(u"\U0001F600"), "?");  // one "?" for the whole pair
    EXPECT_EQ(WideToAnsi(u"张\U0001F600三"), "\xD5\xC5?\xC8\xFD");
    EXPECT_EQ(WideToAnsi(u"한"), "?");
    EXPECT_EQ(WideToAnsi(u"a\xD800z"), "a?z");        // lone high surrogate
    EXPECT_EQ(WideToAnsi(u"张\xDC00"), "\xD5\xC5?");  // lone low surrogate at the end
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80 ok"), "? ok");
    EXPECT_EQ(Utf8ToAnsi("\x80张"), "?\xD5\xC5");  // U+FFFD is not in GBK either
}

TEST(TextConv, BytesGbkDoesNotDefineBecomeReplacement) {
    EXPECT_EQ(AnsiToWide("\xFF"), u"\uFFFD");
    EXPECT_EQ(AnsiToWide("\xD5"), u"\uFFFD");  // lead byte cut off at the end
    EXPECT_EQ(AnsiToWide("\xD5"
                         "0\xD5\xC5"),
              u"\uFFFD0张");  // lead byte before a digit
    EXPECT_EQ(AnsiToUtf8("a\xFF"
                         "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(AnsiToWide("\xD7\xFA"
                         "a"),
              u"\uFFFDa");  // well-formed pair with no character
}

// The whole code page, not a sample: each double-byte code CP936 defines converts to
// the system's character and comes back unchanged.
TEST(TextConv, EveryGbkDoubleByteCodeRoundTrips) {
    Cp936Oracle oracle;
    std::string all;
    int mapped = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const char16_t expected = oracle.Map(lead, trail);
            if (expected == 0) continue;
            ++mapped;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            ASSERT_EQ(AnsiToWide(bytes), std::u16string(1, expected)) << lead << "," << trail;
            ASSERT_EQ(Utf8ToAnsi(AnsiToUtf8(bytes)), bytes) << lead << "," << trail;
            all += bytes;
        }
    }
    EXPECT_GT(mapped, 21000);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
}

TEST(TextConv, CStyleEntryPoints) {
    EXPECT_EQ(Utf8CharsToWide("张三\x80"), u"张三\uFFFD");
    auto buffer = WideToAnsiBuffer(u"张三\U0001F600");
    ASSERT_NE(buffer, nullptr);
    EXPECT_STREQ(buffer.get(), "\xD5\xC5\xC8\xFD?");
}

TEST(TextConv, ThreadsConvertIndependently) {
    const std::string name = "欧阳·张三丰ü";
    const std::string gbk = Utf8ToAnsi(name);
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if (Utf8ToAnsi(name) != gbk || AnsiToUtf8(gbk) != name) ++failures[t];
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace kivtal
