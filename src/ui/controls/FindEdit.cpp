#include "ui/controls/FindEdit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace kivtal {

FindEdit::FindEdit(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)), display_(new QPushButton(this)) {
    edit_->setObjectName(find_edit::kEdit);
    display_->setObjectName(find_edit::kDisplay);
    display_->setFlat(true);
    display_->setCursor(Qt::IBeamCursor);
    // The window's first-field rule counts the display as the field it stands for.
    display_->setProperty("standsForField", true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(display_);
    layout->addWidget(edit_);
    edit_->hide();
    edit_->installEventFilter(this);
    display_->installEventFilter(this);
    connect(display_, &QPushButton::clicked, this, &FindEdit::EnterEditMode);
    RefreshDisplay();
}

QString FindEdit::GetText() const {
    const QString text = edit_->text();
    return text == defaultText_ ? QString() : text;
}

void FindEdit::SetText(const QString& text) {
    edit_->setText(text);
    RefreshDisplay();
}

void FindEdit::SetDefaultText(const QString& text) {
    defaultText_ = text;
    edit_->setPlaceholderText(text);
    RefreshDisplay();
}

int FindEdit::MaxLength() const { return edit_->maxLength(); }
void FindEdit::SetMaxLength(int length) { edit_->setMaxLength(length); }

void FindEdit::EnterEditMode() {
    if (IsEditing()) return;
    edit_->setAccessibleName(accessibleName().isEmpty() ? defaultText_ : accessibleName());
    // The edit takes the focus before the button hides: a hidden focused button would
    // hand the focus on down the Tab chain.
    edit_->show();
    edit_->setFocus(Qt::MouseFocusReason);
    display_->hide();
}

void FindEdit::LeaveEditMode() {
    if (!IsEditing()) return;
    RefreshDisplay();
    edit_->hide();
    display_->show();
}

bool FindEdit::IsEditing() const { return !edit_->isHidden(); }

bool FindEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::FocusOut) LeaveEditMode();
    // Tab onto the resting field lands in the edit itself, so the keys that follow are typed.
    if (watched == display_ && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::OtherFocusReason)
            EnterEditMode();
    }
    return QWidget::eventFilter(watched, event);
}

void FindEdit::RefreshDisplay() {
    const QString text = GetText();
    const bool showingDefault = text.isEmpty();
    display_->setText(showingDefault ? defaultText_ : text);
    display_->setProperty("defaultShown", showingDefault);
    // The property selects the grey look in the skin's style sheet.
    display_->style()->unpolish(display_);
    display_->style()->polish(display_);
}

}  // namespace kivtal
