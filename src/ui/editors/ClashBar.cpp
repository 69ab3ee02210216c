#include "ui/editors/ClashBar.h"

#include <QAbstractButton>
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
#include "ui/controls/AccessibleParts.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {

namespace {

// The fields the editors show, by the names of the value-string table.
const std::map<std::string, QString>& Labels() {
    static const std::map<std::string, QString> labels = {
        {"name", QStringLiteral("姓名")},
        {"title", QStringLiteral("称呼")},
        {"company", QStringLiteral("公司")},
        {"mobile", QStringLiteral("手机")},
        {"home_phone", QStringLiteral("住宅电话")},
        {"office_phone", QStringLiteral("办公电话")},
        {"position", QStringLiteral("职位")},
        {"fax", QStringLiteral("传真")},
        {"company_address", QStringLiteral("公司地址")},
        {"home_address", QStringLiteral("家庭住址")},
        {"web_site", QStringLiteral("网址")},
        {"birthday_type", QStringLiteral("生日类型")},
        {"birthday", QStringLiteral("生日")},
        {"email", QStringLiteral("邮箱")},
        {"qq", QStringLiteral("QQ")},
        {"ww", QStringLiteral("旺旺")},
        {"related", QStringLiteral("关系人")},
        {"business", QStringLiteral("主营业务")},
        {"hobby", QStringLiteral("兴趣爱好")},
        {"belief", QStringLiteral("信仰")},
        {"habit", QStringLiteral("习惯")},
        {"how_met", QStringLiteral("如何认识")},
        {"food", QStringLiteral("喜欢的食物")},
        {"comment", QStringLiteral("备注")},
        {"job_category", QStringLiteral("职能")},
        {"industry", QStringLiteral("行业")},
        {"common", QStringLiteral("常用联系人")},
        {"group", QStringLiteral("分组")},
        {"description", QStringLiteral("事项内容")},
        {"start", QStringLiteral("开始时间")},
        {"end", QStringLiteral("结束时间")},
        {"pinned", QStringLiteral("置顶")},
    };
    return labels;
}

// The control's place in its layout, taken over by a holder that stacks the control
// and the notes under it; made once per control. nullptr when the control sits in no
// layout. The control keeps its place in the window's tab order.
QWidget* HolderOf(QWidget* control) {
    QWidget* parent = control->parentWidget();
    const QString name = control->objectName() + QStringLiteral("_clashes");
    if (parent && parent->objectName() == name) return parent;
    if (!parent || !parent->layout()) return nullptr;
    auto* holder = new QWidget(parent);
    holder->setObjectName(name);
    QLayoutItem* replaced = parent->layout()->replaceWidget(control, holder);
    if (!replaced) {
        delete holder;
        return nullptr;
    }
    delete replaced;
    auto* stack = new QVBoxLayout(holder);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(2);
    stack->addWidget(control);
    return holder;
}

// The last tab stop inside control (itself when it has no parts): a text field's edit,
// which the note's actions follow.
QWidget* LastTabStop(QWidget* control) {
    QWidget* last = control;
    for (QWidget* w = control->nextInFocusChain(); w != control && control->isAncestorOf(w); w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) last = w;
    return last;
}

// Takes a row or note out of the window at once (its own button may still be running
// its click) and frees it later.
void Discard(QWidget* w) {
    if (!w) return;
    w->hide();
    w->setParent(nullptr);
    w->deleteLater();
}

}  // namespace

QString ClashFieldLabel(const SyncClash& clash) {
    const FieldSpec* field = FieldOfKind(clash.oper_code, clash.field);
    if (!field) return QString::number(clash.field);
    const auto label = Labels().find(field->name);
    return label != Labels().end() ? label->second : QString::fromLatin1(field->name);
}

RecordClashes::RecordClashes(LocalStore& store, int operCode, int rowId, QWidget* barPage, PlaceOf placeOf,
                             QObject* parent)
    : QObject(parent), store_(store), operCode_(operCode), rowId_(rowId), placeOf_(std::move(placeOf)) {
    if (barPage && barPage->layout()) {
        bar_ = new QWidget(barPage);
        bar_->setObjectName(QString::fromLatin1(kClashBarName));
        bar_->setAccessibleName(QStringLiteral("与其他设备的修改冲突"));
        barRows_ = new QVBoxLayout(bar_);
        barRows_->setContentsMargins(6, 4, 6, 4);
        if (auto* box = qobject_cast<QBoxLayout*>(barPage->layout())) box->insertWidget(0, bar_);
        else barPage->layout()->addWidget(bar_);
    }
    Reload();
}

void RecordClashes::Clear() {
    for (QPointer<QWidget>& note : notes_) Discard(note);
    notes_.clear();
    while (barRows_ && barRows_->count() > 0) {
        QLayoutItem* item = barRows_->takeAt(0);
        Discard(item->widget());
        delete item;
    }
}

bool RecordClashes::Reload() {
    Clear();
    clashes_.clear();
    const bool read = ClashesOf(store_, operCode_, rowId_, clashes_) == 0;
    for (const SyncClash& c : clashes_) Place(c);
    if (bar_) bar_->setVisible(barRows_->count() > 0);
    if (onChanged_) onChanged_();
    return read;
}

void RecordClashes::Place(const SyncClash& clash) {
    const ClashPlace place = IsDeleteClash(clash) ? ClashPlace{} : placeOf_(clash);
    if (place.shown && !place.control) return;  // placed once its page is built
    if (QWidget* holder = place.shown ? HolderOf(place.control) : nullptr) {
        QWidget* note = MakeRow(clash, holder, true);
        holder->layout()->addWidget(note);
        notes_.emplace_back(note);
        // Tab goes from the field to its note's actions, then on to the next field.
        auto* adopt =
            note->findChild<QAbstractButton*>(QString::fromLatin1(kClashAdoptPrefix) + QString::number(clash.clash_id));
        auto* dismiss = note->findChild<QAbstractButton*>(QString::fromLatin1(kClashDismissPrefix) +
                                                          QString::number(clash.clash_id));
        QWidget::setTabOrder(LastTabStop(place.control), adopt);
        QWidget::setTabOrder(adopt, dismiss);
        return;
    }
    if (barRows_) barRows_->addWidget(MakeRow(clash, bar_, false));
}

QWidget* RecordClashes::MakeRow(const SyncClash& clash, QWidget* parent, bool beside) {
    auto* row = new QWidget(parent);
    if (beside) row->setObjectName(QString::fromLatin1(kClashNotePrefix) + QString::number(clash.clash_id));
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    const bool deleted = IsDeleteClash(clash);
    const QString field = ClashFieldLabel(clash);
    const QString other = QString::fromStdString(clash.other);
    // "另一设备的公司: XYZ": what each action of the clash acts on, for a screen reader.
    const QString what = QStringLiteral("另一设备的%1: %2").arg(field, other);
    QString text = QStringLiteral("已在另一台设备上删除，这里的修改保留了它");
    if (!deleted)
        text = beside ? QStringLiteral("另一设备：%1").arg(other)
                      : QStringLiteral("%1：另一台设备上改为「%2」").arg(field, other);
    auto* label = new QLabel(text, row);
    label->setWordWrap(true);
    label->setAccessibleName(deleted ? text : what);
    auto* adopt = new QPushButton(deleted ? QStringLiteral("仍然删除") : QStringLiteral("采用"), row);
    adopt->setObjectName(QString::fromLatin1(kClashAdoptPrefix) + QString::number(clash.clash_id));
    adopt->setAccessibleName(deleted ? QStringLiteral("仍然删除") : QStringLiteral("采用 ") + what);
    auto* dismiss = new QPushButton(QStringLiteral("忽略"), row);
    dismiss->setObjectName(QString::fromLatin1(kClashDismissPrefix) + QString::number(clash.clash_id));
    dismiss->setAccessibleName(deleted ? QStringLiteral("忽略删除，保留这里的修改") : QStringLiteral("忽略 ") + what);
    line->addWidget(label, 1);
    line->addWidget(adopt);
    line->addWidget(dismiss);
    connect(adopt, &QPushButton::clicked, this, [this, clash] { Adopt(clash); });
    connect(dismiss, &QPushButton::clicked, this, [this, clash] { Dismiss(clash); });
    return row;
}

void RecordClashes::Adopt(const SyncClash& clash) {
    const int result = AdoptClash(store_, clash.clash_id);
    if (result != 0 && result != kClashNotFound) return Failed();
    Reload();
    if (result == 0 && onAdopted_) onAdopted_(clash);
}

void RecordClashes::Dismiss(const SyncClash& clash) {
    const int result = CloseClash(store_, clash.clash_id);
    if (result != 0 && result != kClashNotFound) return Failed();
    Reload();
}

void RecordClashes::Failed() {
    ShowTalMsgBox(QStringLiteral("温馨提示"), qobject_cast<QWidget*>(parent()), QStringLiteral("保存数据失败"));
}

void MarkClashTab(QWidget* tab, bool marked) {
    auto* button = qobject_cast<QAbstractButton*>(tab);
    if (!button) return;
    if (!button->property("plainText").isValid()) button->setProperty("plainText", button->text());
    const QString plain = button->property("plainText").toString();
    button->setText(marked ? plain + QStringLiteral(" ●") : plain);
    button->setAccessibleName(marked ? plain + QStringLiteral("（有冲突）") : plain);
    RenewAccessible(button);
}

}  // namespace kivtal
