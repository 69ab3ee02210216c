#pragma once
// The contact list's rows: one light record per contact with the texts the list shows,
// and the model the list view draws from. Only the rows in view are ever painted, so
// a list of ten thousand contacts costs its texts and nothing per row beyond them.
#include <QString>
#include <array>
#include <unordered_map>
#include <vector>

#include "model/Records.h"
#include "store/ContactStore.h"
#include "ui/controls/ListKiv.h"

namespace kivtal {

// After the name of a contact with open clashes.
inline const QString kClashMark = QStringLiteral(" ⚠");

struct ContactRow {
    int id = 0;  // the contact's local id: the row's tag
    bool common = false;
    QString name;
    QString cellPhone;
    QString mail;
    QString company;
    QString position;
    QString groupName;
    bool clash = false;  // another device's edit clashes with this device's: open the editor
    // The drawn widths of the texts of the name, phone, e-mail, company, position and
    // group columns in the list's font, once measured (they size the columns).
    std::array<int, 6> widths{};
    bool measured = false;
};

// Row texts are cut to the lengths the list has always shown (name and company 55
// characters, e-mail 63, the others 31), never inside a character.
ContactRow MakeContactRow(const ContactSummary& card, const std::unordered_map<int, QString>& groupNames);

// The rows the contact list draws: answered from memory, never from the store.
class ContactListRows : public ListRows {
public:
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    std::int64_t RowTag(int row) const override;
    QString PartText(int row, const QString& part) const override;
    QString PartTip(int row, const QString& part) const override;
    QString RowText(int row) const override;

    void SetRows(std::vector<ContactRow> rows);
    const std::vector<ContactRow>& Rows() const { return rows_; }
    const ContactRow* RowAt(int row) const;
    int RowOfContact(int contactId) const;  // -1 when not listed

    // Each returns the row it changed, -1 when the contact is not listed.
    int SetCommon(int contactId, bool common);
    int Remove(int contactId);
    // The contact whose menu is open, 0 for none.
    void SetMenuOpen(int contactId) { menuOpen_ = contactId; }
    int MenuOpenContact() const { return menuOpen_; }

private:
    std::vector<ContactRow> rows_;
    int menuOpen_ = 0;
};

}  // namespace kivtal
