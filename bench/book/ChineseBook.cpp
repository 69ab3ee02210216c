#include "ChineseBook.h"

#include <sqlite3.h>

#include "store/ContactStore.h"

namespace kivtal::bench {
namespace {

const char* const kSurnames[] = {"张", "李", "王", "刘", "陈", "杨", "赵", "黄", "周", "吴"};
const char* const kSurnamePinyin[] = {"ZHANG", "LI", "WANG", "LIU", "CHEN", "YANG", "ZHAO", "HUANG", "ZHOU", "WU"};
const char* const kGiven[] = {"伟", "芳", "娜", "敏", "静", "强", "磊", "洋", "艳", "勇", "军", "杰"};
const char* const kGivenPinyin[] = {"WEI", "FANG", "NA",  "MIN",  "JING", "QIANG",
                                    "LEI", "YANG", "YAN", "YONG", "JUN",  "JIE"};

std::string Name(int i) { return std::string(kSurnames[i % 10]) + kGiven[(i / 10) % 12] + kGiven[(i / 120) % 12]; }

}  // namespace

BusinessCard BookContact(int i, int firstGroupId) {
    BusinessCard c;
    c.bc_name = Name(i);
    c.bc_name_pinyin = std::string(kSurnamePinyin[i % 10]) + kGivenPinyin[(i / 10) % 12] + kGivenPinyin[(i / 120) % 12];
    if (i % 97 == 0) c.bc_name_pinyin = "3" + c.bc_name_pinyin;  // a few under "#"
    c.company_name = "公司" + std::to_string(i % 300);
    c.cell_phone = "139" + std::to_string(10000000 + i);
    c.mail = "user" + std::to_string(i) + "@example.com";
    c.position = "经理";
    c.addr_c_detail = "北京市朝阳区某某路" + std::to_string(i) + "号";
    c.group_id = firstGroupId + i % kBookGroups;
    c.common_use = i % 50 == 0 ? 1 : 0;
    c.main_tab = 1;
    UserBankInfo a;
    a.bank_name = "工商银行";
    a.ubank_branch = "北京分行";
    a.ubank_card = "6222" + std::to_string(100000000 + i);
    a.ubank_user = c.bc_name;
    c.bank_accounts.push_back(a);
    return c;
}

bool FillBook(LocalStore& store, int count) {
    ContactStore contacts(store);
    int firstGroupId = 0;
    for (int g = 0; g < kBookGroups; ++g) {
        CardGroup group;
        group.group_name = "组" + std::to_string(g);
        if (contacts.AddGroup(group) != StoreStatus::kOk) return false;
        if (g == 0) firstGroupId = group.group_id;
    }
    StoreSession session = store.OpenUserDb();
    if (!session.ok()) return false;
    // One transaction for the whole book: the data set, not the write path, is what the
    // benchmarks over it are about.
    SqliteTransaction tx(session.db());
    for (int i = 0; i < count; ++i) {
        BusinessCard c = BookContact(i, firstGroupId);
        if (InsertContact(session.db(), c) != StoreStatus::kOk) return false;
    }
    return tx.commit() == SQLITE_OK;
}

std::string BookCard(int i) {
    const std::string name = Name(i);
    const std::string n = std::to_string(i);
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nN:" + name + ";;;;\r\nORG:公司" + std::to_string(i % 300) +
           "\r\nTITLE:经理\r\nTEL;TYPE=CELL:139" + std::to_string(10000000 + i) + "\r\nTEL;TYPE=WORK,VOICE:010-6" + n +
           "\r\nEMAIL;TYPE=INTERNET:user" + n + "@example.com\r\nADR;TYPE=WORK:;;北京市朝阳区某某路" + n +
           "号;;;;\r\nBDAY:1980-03-15\r\nNOTE:第一次见面在展会\\n后来合作\r\nCATEGORIES:组" +
           std::to_string(i % kBookGroups) + "\r\nX-QQ:" + std::to_string(100000 + i) +
           "\r\nX-KIVTAL-BANK:工商银行;北京分行;;6222" + n + ";" + name + "\r\nEND:VCARD\r\n";
}

}  // namespace kivtal::bench
