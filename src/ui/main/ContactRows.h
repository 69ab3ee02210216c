#pragma once
// The contact list's rows: one light record per contact with the texts the list shows,
// and the model the list view draws from. Only the rows in view are ever painted, so
// a list of ten thousand contacts costs its texts and nothing per row beyond them.
#include <QAbstractListModel>
#include <QString>
#include <unordered_map>
#include <vector>

#include "model/Records.h"

namespace kivtal {

struct ContactRow {
    int id = 0;  // the contact's local id: the row's tag
    bool common = false;
    QString name;
    QString cellPhone;
    QString mail;
    QString company;
    QString position;
    QString groupName;
};

// Row texts are cut to the lengths the list has always shown (name and company 55
// characters, e-mail 63, the others 31), never inside a character.
ContactRow MakeContactRow(const BusinessCard& card, const std::unordered_map<int, QString>& groupNames);

class ContactListModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        TagRole = Qt::UserRole + 1,
        CommonRole,
        CellPhoneRole,
        MailRole,
        CompanyRole,
        PositionRole,
        GroupRole,
        MenuOpenRole,  // the row's menu button is pressed: its menu is open
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void SetRows(std::vector<ContactRow> rows);
    const std::vector<ContactRow>& Rows() const { return rows_; }
    const ContactRow* RowAt(int row) const;
    int RowOfContact(int contactId) const;  // -1 when not listed

    void SetCommon(int contactId, bool common);
    void Remove(int contactId);
    // The contact whose menu is open, 0 for none.
    void SetMenuOpen(int contactId);
    int MenuOpenContact() const { return menuOpen_; }

private:
    void ChangedRow(int contactId);

    std::vector<ContactRow> rows_;
    int menuOpen_ = 0;
};

}  // namespace kivtal
