// Cards in the shapes real address books write them, each with what must come out.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "vcard/VCardSupport.h"

namespace kivtal::test {
namespace {

using Field = std::pair<std::string BusinessCard::*, std::string>;

struct Fixture {
    const char* shape;
    std::string text;
    std::vector<Field> fields;
    std::string category = {};
};

constexpr auto kName = &BusinessCard::bc_name;
constexpr auto kMobile = &BusinessCard::cell_phone;
constexpr auto kOffice = &BusinessCard::fix_phone;
constexpr auto kHome = &BusinessCard::home_phone;
constexpr auto kFax = &BusinessCard::fax;
constexpr auto kMail = &BusinessCard::mail;
constexpr auto kCompany = &BusinessCard::company_name;
constexpr auto kPosition = &BusinessCard::position;
constexpr auto kWorkAddr = &BusinessCard::addr_c_detail;
constexpr auto kHomeAddr = &BusinessCard::addr_f_detail;
constexpr auto kBirthday = &BusinessCard::birthday;
constexpr auto kQq = &BusinessCard::qq;
constexpr auto kComment = &BusinessCard::bc_comment;
constexpr auto kWeb = &BusinessCard::web_site;

const std::vector<Fixture>& Fixtures() {
    static const std::vector<Fixture> table = {
        {"android 2.1, quoted-printable UTF-8 with a soft break",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E6=9D=8E;=E5=9B=9B;;;\r\n"
         "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E6=9D=8E=\r\n=E5=9B=9B\r\n"
         "TEL;CELL:138 0013 8000\r\nTEL;WORK:010-62345678\r\nTEL;HOME;FAX:010-1234\r\n"
         "EMAIL;HOME:li@example.com\r\nEND:VCARD\r\n",
         {{kName, "李四"},
          {kMobile, "138 0013 8000"},
          {kOffice, "010-62345678"},
          {kFax, "010-1234"},
          {kMail, "li@example.com"}}},
        {"older Chinese phone 2.1, GBK through CHARSET and quoted-printable",
         "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=GBK;ENCODING=QUOTED-PRINTABLE:=D5=C5=C8=FD\n"
         "TEL;CELL;PREF:13912345678\nADR;HOME;CHARSET=GB2312;ENCODING=QUOTED-PRINTABLE:;;=B1=B1=BE=A9=CA=D0=BA=A3=B5="
         "ED=C7=F8;;;;\n"
         "END:VCARD\n",
         {{kName, "张三"}, {kMobile, "13912345678"}, {kHomeAddr, "北京市海淀区"}}},
        {"older Chinese phone 2.1, raw GBK bytes without a charset",
         "BEGIN:VCARD\nVERSION:2.1\nN:\xCD\xF5\xCE\xE5\nTEL:13700000000\nEND:VCARD\n",
         {{kName, "王五"}, {kMobile, "13700000000"}}},
        {"iPhone 3.0: item groups, repeated type parameters, a folded photo",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Appleseed;John;;;\r\nFN:John Appleseed\r\nORG:Apple Inc.;Retail;\r\n"
         "TITLE:Genius\r\nitem1.TEL;type=CELL;type=VOICE;type=pref:+1 (408) 555-0100\r\n"
         "item2.EMAIL;type=INTERNET;type=pref:john@example.com\r\nitem2.X-ABLabel:_$!<Other>!$_\r\n"
         "IMPP;X-SERVICE-TYPE=QQ;type=pref:x-apple:10001\r\nBDAY;value=date:1985-04-12\r\n"
         "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQAAAQABAAD/\r\n "
         "2wBDAAMCAgICAgMCAgIDAwMDBAYEBAQEBAgGBgUGCQgKCgkICQkKDA8MCgsOCwkJDRENDg8QEBEQ\r\n"
         "END:VCARD\r\n",
         {{kName, "John Appleseed"},
          {kCompany, "Apple Inc. Retail"},
          {kPosition, "Genius"},
          {kMobile, "+1 (408) 555-0100"},
          {kMail, "john@example.com"},
          {kQq, "10001"},
          {kBirthday, "1985-04-12"}}},
        {"web mail 3.0: system labels skipped, structured address, escapes",
         "BEGIN:VCARD\nVERSION:3.0\nFN:O'Brien\\, Seán\nN:O'Brien;Seán;;;\nEMAIL;TYPE=INTERNET:sean@example.ie\n"
         "ADR;TYPE=WORK:;;1 Main St\\, Suite 5;Dublin;;D01;Ireland\nCATEGORIES:myContacts,Friends\n"
         "NOTE:line one\\nline two\\; with semicolon\nURL:https://example.ie\nEND:VCARD\n",
         {{kName, "O'Brien, Seán"},
          {kMail, "sean@example.ie"},
          {kWorkAddr, "1 Main St, Suite 5, Dublin, D01, Ireland"},
          {kComment, "line one\nline two; with semicolon"},
          {kWeb, "https://example.ie"}},
         "Friends"},
        {"desktop mail 2.1: bare parameters, quoted-printable note over CRLF soft breaks",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;LANGUAGE=en-us:Smith;Anna\r\nFN:Anna Smith\r\nTEL;WORK;VOICE:+44 20 7946 "
         "0000\r\n"
         "TEL;HOME;VOICE:+44 20 7946 0001\r\nTEL;CELL;VOICE:+44 7700 900000\r\nTEL;WORK;FAX:+44 20 7946 0002\r\n"
         "NOTE;ENCODING=QUOTED-PRINTABLE:First=0D=0ASecond line that is long enough to be =\r\nbroken\r\n"
         "EMAIL;PREF;INTERNET:anna@example.co.uk\r\nEND:VCARD\r\n",
         {{kName, "Anna Smith"},
          {kOffice, "+44 20 7946 0000"},
          {kHome, "+44 20 7946 0001"},
          {kMobile, "+44 7700 900000"},
          {kFax, "+44 20 7946 0002"},
          {kComment, "First\r\nSecond line that is long enough to be broken"},
          {kMail, "anna@example.co.uk"}}},
        {"4.0 with tel: URIs and a quoted type list, no FN fallback needed",
         "BEGIN:VCARD\nVERSION:4.0\nFN:Jane Doe\nTEL;VALUE=uri;TYPE=\"work,voice\":tel:+1-555-555-5555\n"
         "TEL;VALUE=uri;TYPE=cell:tel:+1-555-555-0000\nBDAY:19700101\nGENDER:F\nEND:VCARD\n",
         {{kName, "Jane Doe"}, {kOffice, "+1-555-555-5555"}, {kMobile, "+1-555-555-0000"}, {kBirthday, "1970-01-01"}}},
        {"3.0 from a GNOME address book, tab folding and a BOM",
         "\xEF\xBB\xBF"
         "BEGIN:VCARD\nVERSION:3.0\nFN:Very Long\n\tName\nN:Name;Very Long;;;\nX-EVOLUTION-FILE-AS:Name\\, Very\n"
         "TEL;TYPE=HOME,VOICE:555 0101\nEND:VCARD\n",
         {{kName, "Very LongName"}, {kHome, "555 0101"}}},
        {"Big5 name, base64 value, X-QQ",
         "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=BIG5:\xB3\xAF\xA4\x6A\xA4\xE5\nNOTE;ENCODING=BASE64:6LW15YWt\nX-QQ:"
         "123456\n"
         "END:VCARD\n",
         {{kName, "陳大文"}, {kComment, "赵六"}, {kQq, "123456"}}},
        {"desktop address book 3.0: grouped addresses, a company card",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Apple Inc.//macOS 14//EN\r\nN:;;;;\r\nFN:Globex\r\nORG:Globex;\r\n"
         "X-ABShowAs:COMPANY\r\nitem1.ADR;type=WORK;type=pref:;;1 Infinite Loop;Cupertino;CA;95014;USA\r\n"
         "item1.X-ABADR:us\r\nitem2.URL;type=pref:http://globex.example\r\nitem2.X-ABLabel:_$!<HomePage>!$_\r\n"
         "END:VCARD\r\n",
         {{kName, "Globex"},
          {kCompany, "Globex"},
          {kWorkAddr, "1 Infinite Loop, Cupertino, CA, 95014, USA"},
          {kWeb, "http://globex.example"}}},
        {"mail client 4.0: VALUE=TEXT, PREF=1, a quoted-printable-free UTF-8 note",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Müller;Jörg;;;\r\nEMAIL;PREF=1:joerg@example.de\r\n"
         "TEL;TYPE=work;VALUE=TEXT:+49 30 123456\r\nTEL;TYPE=cell;VALUE=TEXT:+49 170 1234567\r\n"
         "ADR;TYPE=home:;;Hauptstraße 5;Berlin;;10115;Deutschland\r\nUID:1234-5678\r\nEND:VCARD\r\n",
         {{kName, "Jörg Müller"},
          {kMail, "joerg@example.de"},
          {kOffice, "+49 30 123456"},
          {kMobile, "+49 170 1234567"},
          {kHomeAddr, "Hauptstraße 5, Berlin, 10115, Deutschland"}}},
        {"no name: the company, else the e-mail names the contact",
         "BEGIN:VCARD\nVERSION:3.0\nORG:Acme Ltd\nEND:VCARD\n",
         {{kName, "Acme Ltd"}, {kCompany, "Acme Ltd"}}},
        // Typed numbers take their own fields whatever the order; the rest fill what is left.
        {"untyped number before typed ones",
         "BEGIN:VCARD\nVERSION:3.0\nFN:T\nTEL:111\nTEL;TYPE=WORK:222\nTEL;TYPE=HOME:333\nTEL;TYPE=CELL:444\nEND:"
         "VCARD\n",
         {{kMobile, "444"}, {kOffice, "222"}, {kHome, "333"}, {kComment, "Tel: 111"}}},
        {"a second mobile waits for the work number",
         "BEGIN:VCARD\nVERSION:2.1\nFN:T\nTEL;CELL:1\nTEL;CELL:2\nTEL;WORK:3\nTEL;WORK:4\nTEL;FAX:5\nTEL;FAX:6\n"
         "END:VCARD\n",
         {{kMobile, "1"}, {kOffice, "3"}, {kHome, "2"}, {kFax, "5"}, {kComment, "Tel: 4\nTel: 6"}}},
        {"PREF chooses between two of one type",
         "BEGIN:VCARD\nVERSION:3.0\nFN:T\nTEL;TYPE=CELL:1\nTEL;TYPE=CELL,PREF:2\nTEL;TYPE=WORK:3\nEND:VCARD\n",
         {{kMobile, "2"}, {kOffice, "3"}, {kHome, "1"}, {kComment, ""}}},
        {"4.0 PREF ranks",
         "BEGIN:VCARD\nVERSION:4.0\nFN:T\nTEL;TYPE=work;PREF=2:1\nTEL;TYPE=work;PREF=1:2\nEND:VCARD\n",
         {{kOffice, "2"}, {kMobile, "1"}}},
        // Nothing is overwritten: a second value joins the comment.
        {"second NOTE, ORG and TITLE",
         "BEGIN:VCARD\nVERSION:3.0\nFN:T\nNOTE:one\nORG:A;Dept\nTITLE:t1\nNOTE:two\nORG:B\nTITLE:t2\nTITLE:t1\n"
         "END:VCARD\n",
         {{kCompany, "A Dept"}, {kPosition, "t1"}, {kComment, "one\ntwo\nCompany: B\nPosition: t2"}}},
        {"e-mail with a display name, a SIP address in TEL",
         "BEGIN:VCARD\nVERSION:3.0\nFN:T\nEMAIL:\"Omega\" <omega@example.com>\nEMAIL:Two Omega "
         "<mailto:two@example.com>\n"
         "TEL;VALUE=uri:sip:alice@example.com\nTEL;VALUE=uri:tel:+1-555-0100\nEND:VCARD\n",
         {{kMail, "omega@example.com"},
          {kMobile, "+1-555-0100"},
          {kComment, "E-mail: two@example.com\nTel: sip:alice@example.com"}}},
        {"2.1 in GB18030 labelled GB2312: a GBK name in quoted-printable, a four-byte character raw",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=GB2312;ENCODING=QUOTED-PRINTABLE:=C5=B7=D1=F4=E9=46\r\n"
         "NOTE;CHARSET=GB2312:\x95\x34\xB2\x35\xCF\xE9 \xA2\xE3"
         "5\r\nTEL;CELL:13912345678\r\nEND:VCARD\r\n",
         {{kName, "欧阳镕"}, {kComment, "𠮷祥 €5"}, {kMobile, "13912345678"}}},
        {"Big5 with trail bytes that look like backslashes, Big5-HKSCS",
         "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=BIG5:\xB3\x5C;\xA5\x5C\xBB\x5C\r\n"
         "ADR;HOME;CHARSET=BIG5-HKSCS;ENCODING=QUOTED-PRINTABLE:;;=AD=BB=B4=E4=C0=B1=B4=B0=B9=44;;;;\r\n"
         "NOTE;CHARSET=BIG5-HKSCS:\xA6\x6E\x9D\xEE\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN;CHARSET=BIG5:\xB3\x5C\xA5\x5C\xBB\x5C\r\nEND:VCARD\r\n",
         {{kName, "許功蓋"}, {kHomeAddr, "香港彌敦道"}, {kComment, "好㗎"}}},
        {"second numbers and mails go to the comment",
         "BEGIN:VCARD\nVERSION:3.0\nFN:Two Phones\nTEL;TYPE=CELL:1\nTEL;TYPE=CELL:2\nTEL;TYPE=CELL:3\nTEL;TYPE=CELL:4\n"
         "EMAIL:a@x\nEMAIL:b@x\nEND:VCARD\n",
         {{kMobile, "1"}, {kOffice, "2"}, {kHome, "3"}, {kMail, "a@x"}, {kComment, "Tel: 4\nE-mail: b@x"}}},
    };
    return table;
}

TEST(VCardFixtures, EachShapeReadsAsItMust) {
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.shape);
        const ReadResult r = ReadVCards(f.text);
        ASSERT_TRUE(r.problems.empty()) << r.problems[0].line << ": " << r.problems[0].text;
        ASSERT_GE(r.cards.size(), 1u);
        for (const vcard::CardContent& c : r.cards) {  // a second card repeats the first in another shape
            for (const auto& [member, value] : f.fields) {
                if (member == kName || &c == &r.cards[0]) {
                    EXPECT_EQ(c.card.*member, value);
                }
            }
            EXPECT_EQ(c.category, f.category);
        }
    }
}

TEST(VCardFixtures, SeveralCardsAndNoiseBetweenThem) {
    const ReadResult r = ReadVCards(
        "garbage before\nBEGIN:VCARD\nVERSION:3.0\nFN:A\nEND:VCARD\n\n\nBEGIN:vcard\nVERSION:3.0\nFN:B\nend:VCARD\n");
    ASSERT_EQ(r.cards.size(), 2u);
    EXPECT_EQ(r.cards[0].card.bc_name, "A");
    EXPECT_EQ(r.cards[1].card.bc_name, "B");
}

TEST(VCardFixtures, BirthdaysWithoutAYearStayOutOfTheDate) {
    const std::pair<const char*, const char*> cases[] = {
        // BDAY as written: the birthday stored, or the comment that keeps the day
        {"1980-03-15", "1980-03-15"},      {"19800315T000000Z", "1980-03-15"}, {"--0315", "Birthday: 03-15"},
        {"--03-15", "Birthday: 03-15"},    {"16040315", "Birthday: 03-15"},    {"1604-01-01", "Birthday: 01-01"},
        {"1000-01-01", "Birthday: 01-01"}, {"0000-12-24", "Birthday: 12-24"},  {"1980-13-01", ""},
    };
    for (const auto& [bday, want] : cases) {
        SCOPED_TRACE(bday);
        const ReadResult r = ReadVCards(std::string("BEGIN:VCARD\nVERSION:3.0\nFN:X\nBDAY:") + bday + "\nEND:VCARD\n");
        ASSERT_EQ(r.cards.size(), 1u);
        const BusinessCard& card = r.cards[0].card;
        const bool kept = std::string_view(want).starts_with("Birthday");
        EXPECT_EQ(card.birthday, kept ? "" : want);
        EXPECT_EQ(card.bc_comment, kept ? want : "");
    }
}

TEST(VCardFixtures, GenderAndLunarBirthday) {
    const ReadResult r =
        ReadVCards("BEGIN:VCARD\nVERSION:4.0\nFN:X\nGENDER:F\nX-KIVTAL-LUNAR-BIRTHDAY:1990-08-15\nEND:VCARD\n");
    ASSERT_EQ(r.cards.size(), 1u);
    EXPECT_EQ(r.cards[0].card.title, 2);
    EXPECT_EQ(r.cards[0].card.birthday_type, 2);
    EXPECT_EQ(r.cards[0].card.birthday, "1990-08-15");
}

}  // namespace
}  // namespace kivtal::test
