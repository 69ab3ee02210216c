#include "ui/main/ContactRows.h"

#include <QStringList>

namespace kivtal {
namespace {

QString Clip(const std::string& text, int characters) {
    QString s = QString::fromStdString(text);
    if (s.size() <= characters) return s;
    int cut = characters;
    if (s.at(cut - 1).isHighSurrogate()) --cut;  // keep a pair whole
    return s.left(cut);
}

}  // namespace

ContactRow MakeContactRow(const BusinessCard& card, const std::unordered_map<int, QString>& groupNames) {
    ContactRow row;
    row.id = card.bc_id;
    row.common = card.common_use == 1;
    row.name = Clip(card.bc_name, 55);
    row.cellPhone = Clip(card.cell_phone, 31);
    row.mail = Clip(card.mail, 63);
    row.company = Clip(card.company_name, 55);
    row.position = Clip(card.position, 31);
    const auto group = groupNames.find(card.group_id);
    if (group != groupNames.end()) row.groupName = group->second.left(31);
    return row;
}

int ContactListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ContactListModel::data(const QModelIndex& index, int role) const {
    const ContactRow* row = RowAt(index.row());
    if (!row) return {};
    switch (role) {
    case Qt::DisplayRole:
        return row->name;
    case Qt::AccessibleTextRole: {
        // A screen reader reads the row's texts, not only the name.
        QStringList parts{row->name};
        for (const QString* text : {&row->cellPhone, &row->mail, &row->company, &row->position, &row->groupName})
            if (!text->isEmpty()) parts << *text;
        if (row->common) parts << QStringLiteral("常用");
        return parts.join(QStringLiteral("，"));
    }
    case TagRole: return row->id;
    case CommonRole: return row->common;
    case CellPhoneRole: return row->cellPhone;
    case MailRole: return row->mail;
    case CompanyRole: return row->company;
    case PositionRole: return row->position;
    case GroupRole: return row->groupName;
    case MenuOpenRole: return row->id == menuOpen_;
    default: return {};
    }
}

void ContactListModel::SetRows(std::vector<ContactRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    menuOpen_ = 0;
    endResetModel();
}

const ContactRow* ContactListModel::RowAt(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size())) return nullptr;
    return &rows_[static_cast<std::size_t>(row)];
}

int ContactListModel::RowOfContact(int contactId) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == contactId) return static_cast<int>(i);
    return -1;
}

void ContactListModel::SetCommon(int contactId, bool common) {
    const int row = RowOfContact(contactId);
    if (row < 0) return;
    rows_[static_cast<std::size_t>(row)].common = common;
    ChangedRow(contactId);
}

void ContactListModel::Remove(int contactId) {
    const int row = RowOfContact(contactId);
    if (row < 0) return;
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    if (menuOpen_ == contactId) menuOpen_ = 0;
}

void ContactListModel::SetMenuOpen(int contactId) {
    const int before = menuOpen_;
    menuOpen_ = contactId;
    ChangedRow(before);
    ChangedRow(contactId);
}

void ContactListModel::ChangedRow(int contactId) {
    const int row = RowOfContact(contactId);
    if (row < 0) return;
    const QModelIndex at = index(row);
    emit dataChanged(at, at);
}

}  // namespace kivtal
