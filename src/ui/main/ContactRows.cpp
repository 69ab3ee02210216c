#include "ui/main/ContactRows.h"

#include "ui/main/ContactColumns.h"

#include <QStringList>

namespace kivtal {
namespace {

// What the tip and a screen reader say of a contact with open clashes.
const QString kClashText = QStringLiteral("与其他设备的修改有冲突");

QString Clip(const std::string& text, int characters) {
    QString s = QString::fromStdString(text);
    if (s.size() <= characters) return s;
    int cut = characters;
    if (s.at(cut - 1).isHighSurrogate()) --cut;  // keep a pair whole
    return s.left(cut);
}

}  // namespace

ContactRow MakeContactRow(const ContactSummary& card, const std::unordered_map<int, QString>& groupNames) {
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

const ContactRow* ContactListRows::RowAt(int row) const {
    if (row < 0 || row >= RowCount()) return nullptr;
    return &rows_[static_cast<std::size_t>(row)];
}

std::int64_t ContactListRows::RowTag(int row) const {
    const ContactRow* r = RowAt(row);
    return r ? r->id : kNoTag;
}

QString ContactListRows::PartText(int row, const QString& part) const {
    const ContactRow* r = RowAt(row);
    if (!r) return {};
    if (part == kCommonPart) return r->common ? QStringLiteral("common_on.png") : QStringLiteral("common_off.png");
    if (part == kMenuPart) return r->id == menuOpen_ ? QStringLiteral("oper_up.png") : QStringLiteral("oper_down.png");
    if (part == kNamePart) return r->clash ? r->name + kClashMark : r->name;
    if (part == kPhonePart) return r->cellPhone;
    if (part == kMailPart) return r->mail;
    if (part == kCompanyPart) return r->company;
    if (part == kPositionPart) return r->position;
    if (part == kGroupPart) return r->groupName;
    return {};
}

QString ContactListRows::PartTip(int row, const QString& part) const {
    const ContactRow* r = RowAt(row);
    if (!r) return {};
    if (part == kCommonPart) return r->common ? QStringLiteral("取消常用") : QStringLiteral("设为常用");
    if (part == kMenuPart) return r->id == menuOpen_ ? QStringLiteral("收起") : QStringLiteral("展开");
    if (part == kNamePart && r->clash) return r->name + QStringLiteral("：") + kClashText;
    return PartText(row, part);
}

QString ContactListRows::RowText(int row) const {
    const ContactRow* r = RowAt(row);
    if (!r) return {};
    // A screen reader reads the row's texts and whether it is common.
    QStringList parts{r->name};
    for (const QString* text : {&r->cellPhone, &r->mail, &r->company, &r->position, &r->groupName})
        if (!text->isEmpty()) parts << *text;
    if (r->common) parts << QStringLiteral("常用");
    if (r->clash) parts << kClashText;
    return parts.join(QStringLiteral("，"));
}

void ContactListRows::SetRows(std::vector<ContactRow> rows) {
    rows_ = std::move(rows);
    menuOpen_ = 0;
}

int ContactListRows::RowOfContact(int contactId) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == contactId) return static_cast<int>(i);
    return -1;
}

int ContactListRows::SetCommon(int contactId, bool common) {
    const int row = RowOfContact(contactId);
    if (row >= 0) rows_[static_cast<std::size_t>(row)].common = common;
    return row;
}

int ContactListRows::Remove(int contactId) {
    const int row = RowOfContact(contactId);
    if (row >= 0) rows_.erase(rows_.begin() + row);
    if (menuOpen_ == contactId) menuOpen_ = 0;
    return row;
}

}  // namespace kivtal
