#pragma once
// The contact's bank accounts as a growing list inside "bank_page": three lines per
// account (bank; branch and sub-branch; holder and number). Rows map to the
// contact's bank-account list by position.
#include <array>
#include <vector>

#include "model/Records.h"

class QString;
class QWidget;

namespace kivtal {

class FindEdit;
class WindowImplBase;

class BankRows {
public:
    explicit BankRows(WindowImplBase& window);

    // The live entries, the first into the first account, one more account for each
    // further entry.
    void FillBankRows(const UserBankInfoList& accounts);
    // The k-th account with any of bank, branch, number or holder typed overwrites the
    // texts of the k-th live list entry (ids kept) or is appended; every live entry
    // after the last one written is marked deleted. Deleted entries stay untouched.
    void ReadBankRows(UserBankInfoList& accounts) const;

    int AccountCount() const { return static_cast<int>(fields_.size()); }
    bool OnClick(const QString& name, QWidget* sender);
    void Add();
    void Remove(int index);

private:
    // bank_name, ubank_branch, ubank_subbranch, ubank_user, ubank_card
    using Texts = std::array<QString, 5>;
    std::vector<Texts> Accounts() const;
    void Rebuild(std::vector<Texts> accounts);

    WindowImplBase& window_;
    std::vector<std::array<FindEdit*, 5>> fields_;
};

}  // namespace kivtal
