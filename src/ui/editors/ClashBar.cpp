#include "ui/editors/ClashBar.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>
#include <string>

#include "model/RecordValues.h"
#include "store/ClashAdopt.h"
#include "store/SyncBases.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {

namespace {

// The fields the editors show, by the names of the value-string table.
const std::map<std::string, QString>& Labels() {
    static const std::map<std::string, QString> labels = {
        {"name", QStringLiteral("姓名")},
        {"company", QStringLiteral("公司")},
        {"mobile", QStringLiteral("手机")},
        {"home_phone", QStringLiteral("住宅电话")},
        {"office_phone", QStringLiteral("办公电话")},
        {"position", QStringLiteral("职位")},
        {"fax", QStringLiteral("传真")},
        {"company_address", QStringLiteral("公司地址")},
        {"home_address", QStringLiteral("家庭住址")},
        {"web_site", QStringLiteral("网址")},
        {"birthday", QStringLiteral("生日")},
        {"email", QStringLiteral("邮箱")},
        {"qq", QStringLiteral("QQ")},
        {"comment", QStringLiteral("备注")},
        {"group", QStringLiteral("分组")},
        {"description", QStringLiteral("事项内容")},
        {"start", QStringLiteral("开始时间")},
        {"end", QStringLiteral("结束时间")},
        {"pinned", QStringLiteral("置顶")},
    };
    return labels;
}

}  // namespace

QString ClashFieldLabel(const SyncClash& clash) {
    const FieldSpec* field = FieldOfKind(clash.oper_code, clash.field);
    if (!field) return QString::number(clash.field);
    const auto label = Labels().find(field->name);
    return label != Labels().end() ? label->second : QString::fromLatin1(field->name);
}

ClashBar::ClashBar(LocalStore& store, int operCode, int rowId, QWidget* parent)
    : QWidget(parent), store_(store), operCode_(operCode), rowId_(rowId), rows_(new QVBoxLayout(this)) {
    setObjectName(QString::fromLatin1(kClashBarName));
    setAccessibleName(QStringLiteral("与其他设备的修改冲突"));
    rows_->setContentsMargins(6, 4, 6, 4);
    Reload();
}

ClashBar* ClashBar::AddTo(QWidget* page, LocalStore& store, int operCode, int rowId) {
    if (!page || !page->layout()) return nullptr;
    auto* bar = new ClashBar(store, operCode, rowId, page);
    if (auto* box = qobject_cast<QBoxLayout*>(page->layout())) box->insertWidget(0, bar);
    else page->layout()->addWidget(bar);
    return bar;
}

bool ClashBar::Reload() {
    while (QLayoutItem* item = rows_->takeAt(0)) {
        if (QWidget* w = item->widget()) w->deleteLater();
        delete item;
    }
    clashes_.clear();
    const bool read = ClashesOf(store_, operCode_, rowId_, clashes_) == 0;
    for (const SyncClash& c : clashes_) AddRow(c);
    setVisible(!clashes_.empty());
    return read;
}

void ClashBar::AddRow(const SyncClash& clash) {
    auto* row = new QWidget(this);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    const bool deleted = IsDeleteClash(clash);
    const QString field = ClashFieldLabel(clash);
    auto* text = new QLabel(
        deleted ? QStringLiteral("已在另一台设备上删除，这里的修改保留了它")
                : QStringLiteral("%1：另一台设备上改为「%2」").arg(field, QString::fromStdString(clash.other)),
        row);
    text->setWordWrap(true);
    auto* adopt = new QPushButton(deleted ? QStringLiteral("仍然删除") : QStringLiteral("采用"), row);
    adopt->setObjectName(QString::fromLatin1(kClashAdoptPrefix) + QString::number(clash.clash_id));
    adopt->setAccessibleName(deleted ? QStringLiteral("仍然删除") : QStringLiteral("采用另一台设备的") + field);
    auto* dismiss = new QPushButton(QStringLiteral("忽略"), row);
    dismiss->setObjectName(QString::fromLatin1(kClashDismissPrefix) + QString::number(clash.clash_id));
    dismiss->setAccessibleName(deleted ? QStringLiteral("忽略删除，保留这里的修改")
                                       : QStringLiteral("忽略，保留这里的") + field);
    line->addWidget(text, 1);
    line->addWidget(adopt);
    line->addWidget(dismiss);
    rows_->addWidget(row);
    connect(adopt, &QPushButton::clicked, this, [this, clash] { Adopt(clash); });
    connect(dismiss, &QPushButton::clicked, this, [this, clash] { Dismiss(clash); });
}

void ClashBar::Adopt(const SyncClash& clash) {
    const int result = AdoptClash(store_, clash.clash_id);
    if (result != 0 && result != kClashNotFound) return Failed();
    Reload();
    if (result == 0 && onAdopted_) onAdopted_(clash);
}

void ClashBar::Dismiss(const SyncClash& clash) {
    const int result = CloseClash(store_, clash.clash_id);
    if (result != 0 && result != kClashNotFound) return Failed();
    Reload();
}

void ClashBar::Failed() { ShowTalMsgBox(QStringLiteral("温馨提示"), window(), QStringLiteral("保存数据失败")); }

}  // namespace kivtal
