// Input no address book should write: each case ends in a clear problem with its line,
// the good cards around it still read, and nothing grows without bound.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "vcard/VCardSupport.h"

namespace kivtal::test {
namespace {

constexpr int kAnyLine = -1;

struct BadCase {
    const char* what;
    std::string text;
    std::vector<std::string> goodNames;  // the cards that must still come out
    int problemLine;                     // 0: no problem expected; kAnyLine: one, on some line
    const char* problemText;
};

std::string Card(const std::string& name) { return "BEGIN:VCARD\nVERSION:3.0\nFN:" + name + "\nEND:VCARD\n"; }

std::string Garbage(std::size_t size) {
    std::mt19937 gen(7);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(gen());
    return bytes;
}

// A base64 photo as phones fold it: 76 characters a line, each after a space.
std::string FoldedPhoto(std::size_t bytes) {
    std::string text = "PHOTO;ENCODING=b;TYPE=JPEG:";
    const std::string row(76, 'A');
    for (std::size_t n = 0; n < bytes; n += row.size()) text += row + "\n ";
    return text + "AA==\n";
}

TEST(VCardBadInput, EachCaseIsReportedAndTheRestReads) {
    const std::vector<BadCase> cases = {
        {"no END at the end of the file", "BEGIN:VCARD\nVERSION:3.0\nFN:A\n", {}, 1, "no END:VCARD"},
        {"no END before the next card", "BEGIN:VCARD\nFN:A\n" + Card("B"), {"B"}, 1, "no END:VCARD"},
        // A property that cannot be read is left out with its line; its card stays.
        {"invalid quoted-printable in a note",
         Card("A") + "BEGIN:VCARD\nVERSION:2.1\nFN:Q\nNOTE;ENCODING=QUOTED-PRINTABLE:=E5=ZZ\nEND:VCARD\n",
         {"A", "Q"},
         8,
         "invalid quoted-printable in NOTE"},
        {"unknown charset on a label",
         "BEGIN:VCARD\nVERSION:2.1\nN:Li;Si\nLABEL;CHARSET=X-NO-SUCH:abc\nTEL;CELL:1\nEND:VCARD\n" + Card("B"),
         {"Si Li", "B"},
         4,
         "unknown charset X-NO-SUCH in LABEL"},
        {"invalid base64 in the name, the company names the card",
         "BEGIN:VCARD\nVERSION:3.0\nFN;ENCODING=b:!!!!\nORG:Acme\nEND:VCARD\n",
         {"Acme"},
         3,
         "invalid base64 in FN"},
        {"an END line with junk after it",
         "BEGIN:VCARD\nVERSION:3.0\nFN:A\nEND:VCARD.\n" + Card("B"),
         {"A", "B"},
         0,
         ""},
        {"an END line with junk as the file's last bytes",
         Card("A") + "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:B\r\nEND:VCARD\x1a",
         {"A", "B"},
         0,
         ""},
        {"a 10 MB photo is left out, the card stays",
         "BEGIN:VCARD\nVERSION:3.0\nFN:Pic\n" + FoldedPhoto(10 << 20) + "END:VCARD\n" + Card("B"),
         {"Pic", "B"},
         0,
         ""},
        {"a 2 MB note is left out, the card stays",
         "BEGIN:VCARD\nVERSION:3.0\nFN:Long\nNOTE:" + std::string(2 << 20, 'x') + "\nEND:VCARD\n",
         {"Long"},
         0,
         ""},
        {"a card over 4 MiB of properties",
         [] {
             std::string t = "BEGIN:VCARD\nVERSION:3.0\nFN:Huge\n";
             for (int i = 0; i < 5; ++i) t += "NOTE:" + std::string(1000000, 'n') + "\n";
             return t + "END:VCARD\n" + Card("B");
         }(),
         {"B"},
         8,
         "larger than 4 MiB"},
        {"a card of a million tiny properties",
         [] {
             std::string t = "BEGIN:VCARD\nVERSION:3.0\nFN:Tiny\n";
             for (int i = 0; i < 1000000; ++i) t += "X:\n";
             return t + "END:VCARD\n" + Card("B");
         }(),
         {"B"},
         kAnyLine,
         "larger than 4 MiB"},
        {"a nested 2.1 AGENT card is skipped whole",
         "BEGIN:VCARD\nVERSION:2.1\nFN:Boss\nAGENT:\nBEGIN:VCARD\nVERSION:2.1\nFN:Secretary\nEND:VCARD\nTEL;CELL:1\n"
         "END:VCARD\n",
         {"Boss"},
         0,
         ""},
        {"binary garbage holds no card", Garbage(3 << 20), {}, 0, ""},
        {"lines without a colon inside a card",
         "BEGIN:VCARD\nVERSION:2.1\nFN:A\nnot a property\n\x01\x02\nEND:VCARD\n",
         {"A"},
         0,
         ""},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = ReadVCards(c.text);
        std::vector<std::string> names;
        for (const vcard::CardContent& card : r.cards) names.push_back(card.card.bc_name);
        EXPECT_EQ(names, c.goodNames);
        if (c.problemLine == 0) {
            EXPECT_TRUE(r.problems.empty()) << r.problems[0].text;
            continue;
        }
        ASSERT_EQ(r.problems.size(), 1u);
        if (c.problemLine != kAnyLine) {
            EXPECT_EQ(r.problems[0].line, c.problemLine);
        }
        EXPECT_NE(r.problems[0].text.find(c.problemText), std::string::npos) << r.problems[0].text;
    }
}

TEST(VCardBadInput, OverlongLinesAreNamedWhereTheyStand) {
    std::istringstream in("BEGIN:VCARD\nVERSION:3.0\nFN:Long\nNOTE:" + std::string(2 << 20, 'x') + "\nEND:VCARD\n");
    vcard::VCardReader reader(in);
    vcard::RawCard raw;
    ASSERT_TRUE(reader.Next(raw));
    ASSERT_EQ(raw.dropped.size(), 1u);
    EXPECT_EQ(raw.dropped[0], std::make_pair(4, std::string("NOTE")));
}

TEST(VCardBadInput, ManyCardsStreamOneAtATime) {
    // Produced on the fly, so the test itself never holds the whole text either.
    class Cards : public std::streambuf {
    public:
        explicit Cards(int count) : left_(count) {}

    protected:
        int_type underflow() override {
            if (left_-- <= 0) return traits_type::eof();
            card_ = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:N" + std::to_string(left_) + "\r\nEND:VCARD\r\n";
            setg(card_.data(), card_.data(), card_.data() + card_.size());
            return traits_type::to_int_type(card_[0]);
        }

    private:
        int left_;
        std::string card_;
    };
    Cards source(100000);
    std::istream in(&source);
    vcard::VCardReader reader(in);
    vcard::RawCard raw;
    int read = 0;
    while (reader.Next(raw)) read += raw.error.empty() ? 1 : 0;
    EXPECT_EQ(read, 100000);
}

}  // namespace
}  // namespace kivtal::test
