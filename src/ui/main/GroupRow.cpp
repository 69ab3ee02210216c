#include "ui/main/GroupRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

constexpr int kNameLimit = 8;
constexpr int kTextIndent = 4;

QPushButton* StripButton(const LayoutControl& name, const QString& glyph, const QString& tip, QWidget* parent) {
    auto* button = new QPushButton(glyph, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setFixedSize(24, 24);
    return button;
}

}  // namespace

GroupRow::GroupRow(const GroupRowLook& look, int groupId, const QString& name, int count, QListWidget* list)
    : look_(look), groupId_(groupId), name_(name), count_(count), list_(list), label_(new QLabel(this)) {
    setObjectName(QStringLiteral("group_row"));
    auto* row = new QHBoxLayout(this);
    // The user's groups sit a little in from the fixed rows (全部, 默认, 回收站).
    row->setContentsMargins(kTextIndent, 0, 4, 0);
    row->setSpacing(2);
    label_->setObjectName(look_.label);
    row->addWidget(label_, 1);
    rename_ = Icon(look_.rename, QStringLiteral("✎"), QStringLiteral("修改组名称"), WM_UI_GROUP_RENAME);
    delete_ = Icon(look_.remove, QStringLiteral("×"), QStringLiteral("删除分组"), WM_UI_GROUP_DELETE);
    row->addWidget(rename_);
    row->addWidget(delete_);

    strip_ = new QWidget(this);
    auto* strip = new QHBoxLayout(strip_);
    strip->setContentsMargins(0, 3, 0, 3);
    strip->setSpacing(2);
    edit_ = new QLineEdit(strip_);
    edit_->setObjectName(look_.edit);
    edit_->setMaxLength(kNameLimit);
    edit_->setAccessibleName(QStringLiteral("分组名称"));
    ok_ = StripButton(look_.editOk, QStringLiteral("✓"), QStringLiteral("保存修改"), strip_);
    cancel_ = StripButton(look_.editCancel, QStringLiteral("✕"), QStringLiteral("放弃修改"), strip_);
    strip->addWidget(edit_, 1);
    strip->addWidget(ok_);
    strip->addWidget(cancel_);
    row->addWidget(strip_, 1);
    strip_->hide();
    ShowIcons();
    SetName(name);
}

QPushButton* GroupRow::Icon(const LayoutControl& name, const QString& glyph, const QString& tip, unsigned message) {
    auto* icon = new QPushButton(glyph, this);
    icon->setObjectName(name);
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

void GroupRow::ShowIcons() {
    const bool shown = !editing_ && (hovered_ || !look_.iconsOnHover);
    rename_->setVisible(shown);
    delete_->setVisible(shown);
}

void GroupRow::SetName(const QString& name) {
    name_ = name;
    label_->setText(LabelText());
    label_->setToolTip(name_);
    label_->setAccessibleName(LabelText());
    setAccessibleName(LabelText());
}

QString GroupRow::LabelText() const { return QStringLiteral("%1(%2)").arg(name_).arg(count_); }

void GroupRow::StartEdit(bool isNew) {
    editing_ = true;
    isNew_ = isNew;
    const QString cancelTip = isNew ? QStringLiteral("取消添加") : QStringLiteral("放弃修改");
    cancel_->setToolTip(cancelTip);
    cancel_->setAccessibleName(cancelTip);
    cancel_->setProperty("userdata", isNew ? QStringLiteral("new") : QString());
    label_->hide();
    ShowIcons();
    strip_->show();
    edit_->setText(name_);
    edit_->selectAll();
    edit_->setFocus();
}

void GroupRow::EndEdit() {
    editing_ = false;
    isNew_ = false;
    strip_->hide();
    cancel_->setProperty("userdata", QString());
    label_->show();
    ShowIcons();
}

QString GroupRow::EditedText() const { return edit_->text().trimmed(); }

bool GroupRow::OwnsStripControl(const QWidget* control) const {
    return control == edit_ || control == ok_ || control == cancel_ || control == strip_;
}

void GroupRow::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    hovered_ = true;
    ShowIcons();
}

void GroupRow::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    hovered_ = false;
    ShowIcons();
}

}  // namespace kivtal
