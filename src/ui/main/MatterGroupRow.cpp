#include "ui/main/MatterGroupRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

constexpr int kGroupNameLimit = 8;

QPushButton* StripButton(const char* name, const QString& text, const QString& tip, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setFixedSize(22, 22);
    return button;
}

}  // namespace

MatterGroupRow::MatterGroupRow(int groupId, const QString& name, int count, QListWidget* list)
    : groupId_(groupId), name_(name), count_(count), list_(list) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 0, 4, 0);
    row->setSpacing(2);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("matter_group_label"));
    row->addWidget(label_, 1);
    rename_ = Icon("matter_group_rename", QStringLiteral("✎"), QStringLiteral("修改组名称"), WM_UI_GROUP_RENAME);
    delete_ = Icon("matter_group_delete", QStringLiteral("×"), QStringLiteral("删除分组"), WM_UI_GROUP_DELETE);
    row->addWidget(rename_);
    row->addWidget(delete_);

    strip_ = new QWidget(this);
    auto* strip = new QHBoxLayout(strip_);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(2);
    edit_ = new QLineEdit(strip_);
    edit_->setObjectName(matter_group_row::kEdit);
    edit_->setMaxLength(kGroupNameLimit);
    edit_->setAccessibleName(QStringLiteral("分组名称"));
    strip->addWidget(edit_, 1);
    strip->addWidget(
        StripButton(matter_group_row::kEditOk.name, QStringLiteral("✓"), QStringLiteral("保存修改"), strip_));
    strip->addWidget(
        StripButton(matter_group_row::kEditCancel.name, QStringLiteral("×"), QStringLiteral("放弃修改"), strip_));
    row->addWidget(strip_, 1);
    strip_->hide();
    SetName(name);
}

QPushButton* MatterGroupRow::Icon(const char* name, const QString& glyph, const QString& tip, unsigned message) {
    auto* icon = new QPushButton(glyph, this);
    icon->setObjectName(QString::fromLatin1(name));
    icon->setToolTip(tip);
    icon->setAccessibleName(tip);
    icon->setFixedSize(20, 20);
    icon->setFlat(true);
    icon->setCursor(Qt::PointingHandCursor);
    // Posted, not sent: the row may be rebuilt by what the message does.
    connect(icon, &QPushButton::clicked, this, [this, message] {
        if (auto* window = qobject_cast<WindowImplBase*>(this->window()))
            window->PostMessage(message, groupId_, reinterpret_cast<std::intptr_t>(list_));
    });
    return icon;
}

void MatterGroupRow::SetName(const QString& name) {
    name_ = name;
    label_->setText(LabelText());
    label_->setToolTip(name_);
    setAccessibleName(LabelText());
}

QString MatterGroupRow::LabelText() const { return QStringLiteral("%1(%2)").arg(name_).arg(count_); }

void MatterGroupRow::StartEdit(bool isNew) {
    editing_ = true;
    isNew_ = isNew;
    if (QWidget* cancel = strip_->findChild<QWidget*>(matter_group_row::kEditCancel)) {
        cancel->setToolTip(isNew ? QStringLiteral("取消添加") : QStringLiteral("放弃修改"));
        cancel->setProperty("userdata", isNew ? QStringLiteral("new") : QString());
    }
    label_->hide();
    rename_->hide();
    delete_->hide();
    strip_->show();
    edit_->setText(name_);
    edit_->selectAll();
    edit_->setFocus();
}

void MatterGroupRow::EndEdit() {
    editing_ = false;
    isNew_ = false;
    strip_->hide();
    label_->show();
    rename_->show();
    delete_->show();
}

QString MatterGroupRow::EditText() const { return edit_->text().trimmed(); }

}  // namespace kivtal
