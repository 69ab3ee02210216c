#include "ui/editors/BankRows.h"

#include <QPushButton>

#include "ui/controls/FindEdit.h"
#include "ui/editors/AddConnectionDlgControls.h"
#include "ui/editors/RowParts.h"
#include "ui/toolkit/TypedText.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

const QString kContainer = add_connection_business::kBanks;
const QString kAdd = add_connection_business::kAddBank;
const QString kDelete = QStringLiteral("delete_bank");
constexpr int kBankTextLength = 30;

enum Field { kBank, kBranch, kSubbranch, kHolder, kNumber };

struct BankField {
    const char* label;
    const char* name;
    const char* defaultText;
};

const BankField kFields[5] = {
    {"银 行", "bank_name_edit", "联系人的开户银行"},
    {"分 行", "bank_branch_edit", "开户银行所属分行"},
    {"支 行", "bank_subbranch_edit", "开户银行所属支行"},
    {"账户名", "bank_user_edit", "银行开户名"},
    {"账 号", "bank_card_edit", "银行账号"},
};

// The fields on each of an account's three lines.
const std::vector<std::vector<Field>> kLines = {{kBank}, {kBranch, kSubbranch}, {kHolder, kNumber}};

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }
std::string Utf8(const QString& text) { return TypedUtf8(text); }

}  // namespace

BankRows::BankRows(WindowImplBase& window) : window_(window) { Rebuild({}); }

void BankRows::FillBankRows(const UserBankInfoList& accounts) {
    std::vector<Texts> rows;
    for (const UserBankInfo& a : accounts) {
        if (a.ubank_state != 0) continue;  // a deleted entry is not shown again
        rows.push_back(
            {Text(a.bank_name), Text(a.ubank_branch), Text(a.ubank_subbranch), Text(a.ubank_user), Text(a.ubank_card)});
    }
    Rebuild(rows);
}

void BankRows::ReadBankRows(UserBankInfoList& accounts) const {
    // Rows map onto the live entries only: an entry deleted earlier is neither shown
    // nor written, so typed texts never land in a deleted row.
    std::vector<std::size_t> live;
    for (std::size_t i = 0; i < accounts.size(); ++i)
        if (accounts[i].ubank_state == 0) live.push_back(i);
    std::size_t written = 0;
    for (const Texts& t : Accounts()) {
        // A sub-branch alone does not make an account.
        if (t[kBank].isEmpty() && t[kBranch].isEmpty() && t[kNumber].isEmpty() && t[kHolder].isEmpty()) continue;
        if (written == live.size()) {
            live.push_back(accounts.size());
            accounts.emplace_back();
        }
        UserBankInfo& entry = accounts[live[written++]];
        entry.bank_name = Utf8(t[kBank]);
        entry.ubank_branch = Utf8(t[kBranch]);
        entry.ubank_subbranch = Utf8(t[kSubbranch]);
        entry.ubank_card = Utf8(t[kNumber]);
        entry.ubank_user = Utf8(t[kHolder]);
    }
    for (std::size_t k = written; k < live.size(); ++k) accounts[live[k]].ubank_state = 1;
}

bool BankRows::OnClick(const QString& name, QWidget* sender) {
    if (name == kAdd) {
        Add();
        return true;
    }
    QWidget* container = window_.FindControl(kContainer);
    if (name != kDelete || !container || !container->isAncestorOf(sender)) return false;
    Remove(DeleteIndex(sender));
    return true;
}

void BankRows::Add() {
    std::vector<Texts> accounts = Accounts();
    accounts.emplace_back();
    Rebuild(accounts);
}

void BankRows::Remove(int index) {
    std::vector<Texts> accounts = Accounts();
    if (index < 0 || index >= static_cast<int>(accounts.size()) || accounts.size() < 2) return;
    accounts.erase(accounts.begin() + index);
    Rebuild(accounts);
}

std::vector<BankRows::Texts> BankRows::Accounts() const {
    std::vector<Texts> out;
    for (const auto& account : fields_) {
        Texts texts;
        for (int f = 0; f < 5; ++f) texts[f] = account[f]->GetText();
        out.push_back(texts);
    }
    return out;
}

void BankRows::Rebuild(std::vector<Texts> accounts) {
    QWidget* container = window_.FindControl(kContainer);
    fields_.clear();
    if (!container) return;
    ClearLines(container);
    if (accounts.empty()) accounts.emplace_back();
    const int count = static_cast<int>(accounts.size());
    for (int i = 0; i < count; ++i) {
        std::array<FindEdit*, 5> fields{};
        for (std::size_t l = 0; l < kLines.size(); ++l) {
            QWidget* line = MakeLine(container);
            for (Field f : kLines[l]) {
                AddLineLabel(line, QString::fromUtf8(kFields[f].label));
                const FieldSpec spec{QString::fromLatin1(kFields[f].name), QString::fromUtf8(kFields[f].defaultText),
                                     kBankTextLength};
                fields[f] = AddLineField(line, spec, accounts[i][f]);
            }
            if (l == 0) AddDeleteButton(line, kDelete, QStringLiteral("银行信息"), i)->setVisible(count > 1);
            AppendLine(container, line);
        }
        fields_.push_back(fields);
    }
    window_.BindNotifications(container);
}

}  // namespace kivtal
