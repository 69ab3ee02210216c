// Import and export through a real user database: the round trip of every field, the
// duplicate rules, one transaction per file with its change-log entries.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "store/ChangeLog.h"
#include "store/ContactStore.h"
#include "text/TextConv.h"
#include "support/UserDbFixture.h"
#include "vcard/ContactExport.h"
#include "vcard/ContactImport.h"
#include "vcard/VCardSupport.h"
#include "vcard/VCardText.h"

namespace kivtal::test {
namespace {

using vcard::ContactExport;
using vcard::ContactImport;
using vcard::ExportFormat;
using vcard::ImportReport;
using vcard::ImportResult;

class ContactImportTest : public UserDbFixture {
protected:
    ImportResult Import(const std::string& text, ImportReport& report, int groupId = 0, bool dryRun = false) {
        std::istringstream in(text);
        return ContactImport(store, groupId, dryRun).ImportStream(in, "cards.vcf", report);
    }
    ImportReport ImportOk(const std::string& text) {
        ImportReport report;
        EXPECT_EQ(Import(text, report), ImportResult::Done);
        return report;
    }
    BusinessCardList Contacts() {
        BusinessCardList list;
        EXPECT_EQ(ContactStore(store).AllContactsByAge(false, list), 0);
        return list;
    }
    std::size_t Pending() {
        std::vector<SyncRecord> entries;
        EXPECT_EQ(ChangeLog(store).PendingEntries(entries), 0);
        return entries.size();
    }
};

// A second device's user database in a folder of its own.
struct OtherStore {
    OtherStore() { EXPECT_EQ(store.EnsureUserDb("other"), 0); }
    TempDir dir;
    LocalStore store{StorePaths{dir.path() + "user", ""}};
};

std::string Counts(const ImportReport& r) { return vcard::SummaryLine(r); }

// A contact with every field of the record set, in texts that need escaping and folding.
BusinessCard EveryField() {
    BusinessCard c;
    c.bc_name = "欧阳·娜娜 O'Neil-Sørensen";
    c.company_name = "北京某某科技有限公司; R&D, \"Lab\"";
    c.cell_phone = "+86 138-0013-8000";
    c.home_phone = "010-88886666";
    c.fix_phone = "010-62345678 ext. 12";
    c.position = "总经理 \\ CEO";
    c.fax = "010-62345679";
    c.addr_c_detail = "北京市海淀区中关村大街1号,科技大厦12层1203室（东门进）;邮编100080";
    c.addr_f_detail = "上海市浦东新区世纪大道100号\n2单元";
    c.web_site = "https://example.cn/a?b=c;d";
    c.birthday_type = 2;
    c.birthday = "1988--4-05";
    c.mail = "nana@example.cn";
    c.qq = "10001";
    c.ww = "nana_ww";
    c.relate_contacts = "张三[gx]同事[pig]李四[gx]朋友[pig]";
    c.main_business = "软件[pig]咨询[pig]";
    c.hobby = "围棋[pig]";
    c.belief = "佛教[pig]";
    c.habit = "早起[pig]";
    c.how_to_konw = "展会上认识";
    c.title = 2;
    c.favor_food = "川菜[pig]";
    c.complete = 1;
    c.main_tab = 3;
    c.bc_comment = "第一行\n第二行, with comma; and semicolon \\n literally";
    c.job_category_id = 7;
    c.business_id = 12;
    c.common_use = 1;
    UserBankInfo a;
    a.bank_name = "中国工商银行";
    a.ubank_branch = "北京分行";
    a.ubank_subbranch = "中关村支行";
    a.ubank_card = "6222 0000 1111 2222";
    a.ubank_user = "欧阳娜娜";
    UserBankInfo b = a;
    b.bank_name = "Bank; of, Test";
    b.ubank_card = "6013000000000001";
    c.bank_accounts = {a, b};
    return c;
}

// What must survive: every field but the ids, which belong to each store.
void ExpectSameContent(BusinessCard got, BusinessCard want) {
    for (BusinessCard* c : {&got, &want}) {
        c->bc_id = 0;
        c->bc_server_id = 0;
        c->group_id = 0;
        c->server_group_id = 0;
        for (UserBankInfo& a : c->bank_accounts) a.ubank_id = a.bc_id = a.server_id = a.bc_server_id = 0;
    }
    EXPECT_EQ(got, want);
}

TEST_F(ContactImportTest, ExportThenImportKeepsEveryField) {
    for (ExportFormat format : {ExportFormat::VCard30, ExportFormat::VCard40}) {
        SCOPED_TRACE(format == ExportFormat::VCard30 ? "3.0" : "4.0");
        OtherStore source;
        CardGroup group;
        group.group_name = "客户, VIP";
        ASSERT_EQ(ContactStore(source.store).AddGroup(group), StoreStatus::kOk);
        BusinessCard card = EveryField();
        card.group_id = group.group_id;
        card.bc_name_pinyin = "OUYANG";
        ASSERT_EQ(ContactStore(source.store).AddContact(card), StoreStatus::kOk);
        BusinessCard stored;
        ASSERT_EQ(ContactStore(source.store).ContactById(card.bc_id, stored), 0);

        std::ostringstream out;
        int count = 0;
        ASSERT_EQ(ContactExport(source.store, 0, format).ToStream(out, count), vcard::ExportResult::Done);
        EXPECT_EQ(count, 1);
        std::istringstream in(out.str());
        OtherStore target;
        ImportReport report;
        ASSERT_EQ(ContactImport(target.store, 0, false).ImportStream(in, "x.vcf", report), ImportResult::Done);
        EXPECT_EQ(Counts(report), "added 1, merged 0, skipped 0, failed 0");

        BusinessCardList back;
        ASSERT_EQ(ContactStore(target.store).AllContacts(back), 0);
        ASSERT_EQ(back.size(), 1u);
        CardGroupList groups;
        ASSERT_EQ(ContactStore(target.store).ContactGroups(groups), 0);
        ASSERT_EQ(groups.size(), 1u);
        EXPECT_EQ(groups[0].group_name, "客户, VIP");
        EXPECT_EQ(back[0].group_id, groups[0].group_id);
        stored.bc_name_pinyin = back[0].bc_name_pinyin;  // computed again on import
        ExpectSameContent(back[0], stored);
    }
}

TEST_F(ContactImportTest, ExportFoldsAt75OctetsWithoutCuttingCharacters) {
    BusinessCard card = EveryField();
    card.bc_comment =
        std::string(50, 'a') + "中文字符串很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长很长";
    ASSERT_EQ(ContactStore(store).AddContact(card), StoreStatus::kOk);
    std::ostringstream out;
    int count = 0;
    ASSERT_EQ(ContactExport(store, 0, ExportFormat::VCard30).ToStream(out, count), vcard::ExportResult::Done);
    const std::string text = out.str();
    std::size_t start = 0, folded = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends in CRLF";
        const std::string line = text.substr(start, end - start);
        EXPECT_LE(line.size(), 75u) << line;
        EXPECT_TRUE(vcard::IsValidUtf8(line)) << line;
        folded += line.starts_with(" ") ? 1 : 0;
        start = end + 2;
    }
    EXPECT_GT(folded, 0u);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1) << "no bare LF";
}

TEST_F(ContactImportTest, SameFileTwiceAddsNothingTheSecondTime) {
    const std::string file =
        "BEGIN:VCARD\nVERSION:3.0\nFN:张三\nTEL;TYPE=CELL:13800138000\nCATEGORIES:同事\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:Anna\nEMAIL:anna@x.org\nX-KIVTAL-BANK:B;;;6222;Anna\nEND:VCARD\n";
    EXPECT_EQ(Counts(ImportOk(file)), "added 2, merged 0, skipped 0, failed 0");
    const std::size_t pendingAfterFirst = Pending();
    EXPECT_EQ(pendingAfterFirst, 4u) << "two contacts, one group, one bank account";
    EXPECT_EQ(Counts(ImportOk(file)), "added 0, merged 2, skipped 0, failed 0");
    EXPECT_EQ(Contacts().size(), 2u);
    EXPECT_EQ(Pending(), pendingAfterFirst) << "an unchanged merge writes nothing";
    CardGroupList groups;
    ASSERT_EQ(ContactStore(store).ContactGroups(groups), 0);
    EXPECT_EQ(groups.size(), 1u) << "the category's group is made once";
}

TEST_F(ContactImportTest, DuplicateFillsOnlyEmptyFields) {
    BusinessCard existing;
    existing.bc_name = "李四";
    existing.cell_phone = "13900000000";
    existing.position = "经理";
    ASSERT_EQ(ContactStore(store).AddContact(existing), StoreStatus::kOk);
    struct Case {
        const char* what;
        std::string card;
        const char* counts;
    };
    const Case cases[] = {
        {"same name, mobile written another way",
         "BEGIN:VCARD\nVERSION:3.0\nFN:李四\nTEL;TYPE=CELL:+86 139-0000-0000\nTITLE:工程师\nORG:新公司\n"
         "EMAIL:li@x.org\nX-KIVTAL-BANK:工行;;;6222;李四\nEND:VCARD\n",
         "added 0, merged 1, skipped 0, failed 0"},
        {"same name and e-mail, after the first merge filled it",
         "BEGIN:VCARD\nVERSION:3.0\nFN:李四\nEMAIL:LI@x.org\nEND:VCARD\n", "added 0, merged 1, skipped 0, failed 0"},
        {"same name, other mobile and e-mail: a second person",
         "BEGIN:VCARD\nVERSION:3.0\nFN:李四\nTEL;TYPE=CELL:13700000000\nEND:VCARD\n",
         "added 1, merged 0, skipped 0, failed 0"},
        {"one person twice in one file",
         "BEGIN:VCARD\nFN:王五\nEMAIL:w@x\nEND:VCARD\nBEGIN:VCARD\nFN:王五\nEMAIL:w@x\nEND:VCARD\n",
         "added 1, merged 1, skipped 0, failed 0"},
    };
    for (const Case& c : cases) {  // in order: the first merge brings the e-mail the second matches
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Counts(ImportOk(c.card)), c.counts);
    }
    BusinessCard merged;
    ASSERT_EQ(ContactStore(store).ContactById(existing.bc_id, merged), 0);
    EXPECT_EQ(merged.position, "经理") << "a filled field is never overwritten";
    EXPECT_EQ(merged.company_name, "新公司");
    EXPECT_EQ(merged.mail, "li@x.org");
    ASSERT_EQ(merged.bank_accounts.size(), 1u);
    EXPECT_EQ(merged.bank_accounts[0].ubank_card, "6222");
    EXPECT_EQ(Contacts().size(), 3u);
}

TEST_F(ContactImportTest, StoreFailureLeavesNothingOfTheFile) {
    FailChangeLogWrites();
    ImportReport report;
    EXPECT_EQ(Import("BEGIN:VCARD\nFN:A\nEND:VCARD\nBEGIN:VCARD\nFN:B\nCATEGORIES:G\nEND:VCARD\n", report),
              ImportResult::StoreFailed);
    EXPECT_EQ(Counts(report), "added 0, merged 0, skipped 0, failed 0") << "no counts for a file not written";
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc"), "0");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc_group"), "0");
}

TEST_F(ContactImportTest, DryRunCountsButStoresNothing) {
    ImportReport report;
    ASSERT_EQ(Import("BEGIN:VCARD\nFN:A\nCATEGORIES:G\nEND:VCARD\nBEGIN:VCARD\nEND:VCARD\n", report, 0, true),
              ImportResult::Done);
    EXPECT_EQ(Counts(report), "added 1, merged 0, skipped 1, failed 0");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc"), "0");
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc_group"), "0");
    EXPECT_EQ(Pending(), 0u);
}

TEST_F(ContactImportTest, GroupOptionPutsEveryContactInIt) {
    CardGroup group;
    group.group_name = "导入";
    ASSERT_EQ(ContactStore(store).AddGroup(group), StoreStatus::kOk);
    ImportReport report;
    EXPECT_EQ(Import("BEGIN:VCARD\nFN:A\nCATEGORIES:Other\nEND:VCARD\n", report, group.group_id + 100),
              ImportResult::NoSuchGroup);
    ASSERT_EQ(Import("BEGIN:VCARD\nFN:A\nCATEGORIES:Other\nEND:VCARD\n", report, group.group_id), ImportResult::Done);
    ASSERT_EQ(Contacts().size(), 1u);
    EXPECT_EQ(Contacts()[0].group_id, group.group_id);
    EXPECT_EQ(Scalar("SELECT count(*) FROM tb_bc_group"), "1") << "CATEGORIES makes no group under --group";
}

TEST_F(ContactImportTest, NamesKeptAsWrittenAndSeparatorReplaced) {
    const ImportReport report = ImportOk(
        "BEGIN:VCARD\nVERSION:3.0\nFN:D'Artagnan Ève  Zoë\nNOTE:a~\xE9\xBA\xA4^b\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nTEL:1\nEND:VCARD\n"
        "\x01\x02garbage\n"
        "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=NOPE:x\nEND:VCARD\n");
    EXPECT_EQ(Counts(report),
              "added 1, merged 0, skipped 1, failed 1 (1 property left out) (1 with \"~\xE9\xBA\xA4^\" replaced by "
              "\"~^\")");
    ASSERT_EQ(report.notes.size(), 3u);
    EXPECT_EQ(report.notes[0].file, "cards.vcf");
    EXPECT_EQ(report.notes[0].line, 6);
    EXPECT_EQ(report.notes[1].line, 13) << "the unreadable name";
    EXPECT_EQ(report.notes[2].line, 11) << "its card, which nothing else names";
    const BusinessCardList list = Contacts();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].bc_name, "D'Artagnan Ève  Zoë");
    EXPECT_EQ(list[0].bc_comment, "a~^b");
    EXPECT_EQ(Pending(), 1u);
}

// Two cards with a quoted-printable soft break and a folded line, as LF-ended text.
const char* kLineEndCards =
    "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E5=BC=A0;=E4=B8=89=\n=E4=B8=B0\n"
    "TEL;CELL:13800138000\nNOTE:first\n second\nEND:VCARD\n"
    "BEGIN:VCARD\nVERSION:3.0\nFN:Anna\nEMAIL:anna@x.org\nEND:VCARD\n";

std::string WithLineEnds(std::string_view text, std::string_view end) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += end;
        else out += c;
    }
    return out;
}

std::string Utf16(std::string_view utf8, bool bigEndian, bool bom) {
    std::u16string wide = Utf8ToWide(utf8);
    if (bom) wide.insert(wide.begin(), u'\xFEFF');
    std::string out;
    for (char16_t u : wide) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

TEST_F(ContactImportTest, EveryLineEndAndUtf16Read) {
    using Encode = std::function<std::string(const std::string&)>;
    const std::pair<const char*, Encode> cases[] = {
        {"LF", [](const std::string& t) { return t; }},
        {"CR LF", [](const std::string& t) { return WithLineEnds(t, "\r\n"); }},
        {"CR alone", [](const std::string& t) { return WithLineEnds(t, "\r"); }},
        {"CR CR LF", [](const std::string& t) { return WithLineEnds(t, "\r\r\n"); }},
        {"UTF-8 byte-order mark, CR LF", [](const std::string& t) { return "\xEF\xBB\xBF" + WithLineEnds(t, "\r\n"); }},
        {"UTF-16LE with a byte-order mark",
         [](const std::string& t) { return Utf16(WithLineEnds(t, "\r\n"), false, true); }},
        {"UTF-16BE with a byte-order mark", [](const std::string& t) { return Utf16(t, true, true); }},
        {"UTF-16LE without one", [](const std::string& t) { return Utf16(WithLineEnds(t, "\r\r\n"), false, false); }},
    };
    for (const auto& [what, encode] : cases) {
        SCOPED_TRACE(what);
        OtherStore target;
        ImportReport report;
        std::istringstream in(encode(kLineEndCards));
        ASSERT_EQ(ContactImport(target.store, 0, false).ImportStream(in, "x.vcf", report), ImportResult::Done);
        EXPECT_EQ(Counts(report), "added 2, merged 0, skipped 0, failed 0");
        EXPECT_TRUE(report.notes.empty()) << report.notes[0].line << ": " << report.notes[0].text;
        BusinessCardList list;
        ASSERT_EQ(ContactStore(target.store).AllContactsByAge(false, list), 0);
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0].bc_name, "张三丰");
        EXPECT_EQ(list[0].cell_phone, "13800138000");
        EXPECT_EQ(list[0].bc_comment, "firstsecond");
        EXPECT_EQ(list[1].mail, "anna@x.org");

        // Thousands of copies put line ends and UTF-16 units across every read buffer's edge.
        std::string many;
        for (int i = 0; i < 3000; ++i) many += kLineEndCards;
        const ReadResult r = ReadVCards(encode(many));
        EXPECT_TRUE(r.problems.empty()) << r.problems[0].line << ": " << r.problems[0].text;
        ASSERT_EQ(r.cards.size(), 6000u);
        for (std::size_t i = 0; i < r.cards.size(); i += 2) {
            ASSERT_EQ(r.cards[i].card.bc_name, "张三丰") << i;
            ASSERT_EQ(r.cards[i].card.bc_comment, "firstsecond") << i;
            ASSERT_EQ(r.cards[i + 1].card.mail, "anna@x.org") << i;
        }
    }
}

TEST_F(ContactImportTest, AFileWithoutCardsIsAFailure) {
    const std::pair<std::string, const char*> cases[] = {
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "no vCard"},
        {"exported:\nBEGIN:VCARD VERSION:3.0 FN:A END:VCARD\n", "BEGIN:VCARD is not alone on its line"},
    };
    for (const auto& [bytes, why] : cases) {
        SCOPED_TRACE(why);
        const ImportReport report = ImportOk(bytes);
        EXPECT_EQ(Counts(report), "added 0, merged 0, skipped 0, failed 1");
        ASSERT_EQ(report.notes.size(), 1u);
        EXPECT_NE(report.notes[0].text.find(why), std::string::npos) << report.notes[0].text;
    }
}

}  // namespace
}  // namespace kivtal::test
