#include "ui/main/UndoNotice.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {
namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 40;
constexpr int kBottomGap = 24;

}  // namespace

UndoNotice::UndoNotice(QWidget* window)
    : QFrame(window),
      text_(new QLabel(this)),
      button_(new QPushButton(QStringLiteral("撤销"), this)),
      shortcut_(new QShortcut(QKeySequence::Undo, window)) {
    setObjectName(undo_notice::kNotice);
    setAccessibleName(QStringLiteral("删除提示"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    text_->setObjectName(undo_notice::kText);
    button_->setObjectName(undo_notice::kButton);
    button_->setAccessibleName(QStringLiteral("撤销删除"));
    button_->setCursor(Qt::PointingHandCursor);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 4, 8, 4);
    layout->addWidget(text_, 1);
    layout->addWidget(button_);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &UndoNotice::Dismiss);
    connect(button_, &QPushButton::clicked, this, [this] { Undo(); });
    // Only while the notice shows: otherwise Ctrl+Z belongs to whatever has the focus.
    shortcut_->setEnabled(false);
    connect(shortcut_, &QShortcut::activated, this, [this] { Undo(); });
    window->installEventFilter(this);
    hide();
}

void UndoNotice::Offer(const QString& what, std::function<bool()> undo) {
    undo_ = std::move(undo);
    text_->setText(QStringLiteral("已删除 %1").arg(what));
    setAccessibleDescription(text_->text());
    Place();
    show();
    raise();
    shortcut_->setEnabled(true);
    timer_.start(kShownMs);
}

bool UndoNotice::Undo() {
    if (!isVisible() || !undo_) return false;
    timer_.stop();
    if (!undo_()) {
        ShowTalMsgBox(QString(), parentWidget(), QStringLiteral("未能撤销删除：本机数据库读写失败，请稍后再试。"));
        timer_.start(kShownMs);
        return false;
    }
    Dismiss();
    if (afterUndo_) afterUndo_();
    return true;
}

void UndoNotice::Dismiss() {
    timer_.stop();
    undo_ = nullptr;
    shortcut_->setEnabled(false);
    hide();
}

QString UndoNotice::Text() const { return text_->text(); }

bool UndoNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) Place();
    return QFrame::eventFilter(watched, event);
}

void UndoNotice::Place() {
    const QWidget* window = parentWidget();
    const int width = std::min(kWidth, window->width());
    setGeometry((window->width() - width) / 2, window->height() - kHeight - kBottomGap, width, kHeight);
}

}  // namespace kivtal
