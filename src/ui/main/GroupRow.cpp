#include "ui/main/GroupRow.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>

#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowRegistry.h"

namespace kivtal {
namespace {

constexpr int kIcon = 16;
constexpr int kNameLimit = 8;
const QString kEditBackground = QStringLiteral("file='new_group_bk.png' corner='4,4,4,4'");

QString LabelText(const QString& name, int count) { return QStringLiteral("%1(%2)").arg(name).arg(count); }

}  // namespace

CGroupLabelUI::CGroupLabelUI(int groupId, WindowHandle window, QWidget* parent)
    : QLabel(parent), groupId_(groupId), window_(window) {
    setMouseTracking(true);
    setObjectName(QStringLiteral("group_label"));
}

void CGroupLabelUI::SetHot(bool hot) {
    hot_ = hot;
    update();
}

QRect CGroupLabelUI::DeleteIcon() const { return QRect(width() - kIcon - 6, (height() - kIcon) / 2, kIcon, kIcon); }

QRect CGroupLabelUI::RenameIcon() const { return DeleteIcon().translated(-kIcon - 6, 0); }

void CGroupLabelUI::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hot_ || !hovered_) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x8a, 0x94, 0xa0), 1.5));
    const QRectF del = QRectF(DeleteIcon()).adjusted(4, 4, -4, -4);
    p.drawLine(del.topLeft(), del.bottomRight());
    p.drawLine(del.topRight(), del.bottomLeft());
    const QRectF pen = QRectF(RenameIcon()).adjusted(3, 3, -3, -3);
    p.drawLine(pen.bottomLeft() + QPointF(1, -1), pen.topRight() + QPointF(-1, 1));
    p.drawLine(pen.bottomLeft(), pen.bottomLeft() + QPointF(4, 0));
}

void CGroupLabelUI::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    if (!hot_) return;
    const QPoint pos = event->position().toPoint();
    QString tip;
    if (DeleteIcon().contains(pos)) tip = QStringLiteral("删除分组");
    else if (RenameIcon().contains(pos)) tip = QStringLiteral("修改组名称");
    else tip = toolTip();
    QToolTip::showText(event->globalPosition().toPoint(), tip, this);
}

void CGroupLabelUI::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (!hot_ || event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    if (DeleteIcon().contains(pos)) WindowRegistry::Post(window_, WM_UI_GROUP_DELETE, groupId_, 0);
    else if (RenameIcon().contains(pos)) WindowRegistry::Post(window_, WM_UI_GROUP_RENAME, groupId_, 0);
}

void CGroupLabelUI::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    hovered_ = true;
    update();
}

void CGroupLabelUI::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    hovered_ = false;
    update();
}

GroupRow::GroupRow(const CardGroup& group, WindowHandle window, QWidget* parent)
    : QWidget(parent),
      groupId_(group.group_id),
      count_(group.count),
      label_(new CGroupLabelUI(group.group_id, window, this)),
      strip_(new QWidget(this)),
      edit_(new QLineEdit(strip_)),
      ok_(new QPushButton(QStringLiteral("✓"), strip_)),
      cancel_(new QPushButton(QStringLiteral("✕"), strip_)) {
    setObjectName(QStringLiteral("group_row"));
    setFixedHeight(32);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 0, 0);
    layout->addWidget(label_);
    layout->addWidget(strip_);
    auto* stripLayout = new QHBoxLayout(strip_);
    stripLayout->setContentsMargins(0, 3, 2, 3);
    stripLayout->setSpacing(2);
    stripLayout->addWidget(edit_, 1);
    stripLayout->addWidget(ok_);
    stripLayout->addWidget(cancel_);
    edit_->setObjectName(group_row::kEdit);
    edit_->setMaxLength(kNameLimit);
    edit_->setAccessibleName(QStringLiteral("分组名称"));
    edit_->setProperty("bkimage", kEditBackground);
    ok_->setObjectName(group_row::kEditOk);
    ok_->setToolTip(QStringLiteral("保存修改"));
    ok_->setAccessibleName(QStringLiteral("保存修改"));
    cancel_->setObjectName(group_row::kEditCancel);
    for (QPushButton* button : {ok_, cancel_}) button->setFixedSize(24, 24);
    strip_->hide();
    SetName(QString::fromStdString(group.group_name));
}

void GroupRow::SetName(const QString& name) {
    name_ = name;
    label_->setText(LabelText(name, count_));
    label_->setToolTip(name);
    label_->setAccessibleName(LabelText(name, count_));
}

bool GroupRow::Editing() const { return !strip_->isHidden(); }

void GroupRow::StartEdit(bool isNew) {
    const QString cancelTip = isNew ? QStringLiteral("取消添加") : QStringLiteral("放弃修改");
    cancel_->setToolTip(cancelTip);
    cancel_->setAccessibleName(cancelTip);
    cancel_->setProperty("userdata", isNew ? QStringLiteral("new") : QString());
    label_->hide();
    label_->SetHot(false);
    strip_->show();
    edit_->setText(name_);
    edit_->selectAll();
    edit_->setFocus();
}

void GroupRow::EndEdit() {
    strip_->hide();
    cancel_->setProperty("userdata", QString());
    label_->show();
    label_->SetHot(true);
}

bool GroupRow::IsNew() const { return cancel_->property("userdata").toString() == u"new"; }

QString GroupRow::EditedText() const { return edit_->text().trimmed(); }

bool GroupRow::OwnsStripControl(const QWidget* control) const {
    return control == edit_ || control == ok_ || control == cancel_ || control == strip_;
}

}  // namespace kivtal
