#include "ui/toolkit/ControlAccess.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace kivtal {

QString ControlText(const QWidget* control) {
    if (auto* w = qobject_cast<const QLineEdit*>(control)) return w->text();
    if (auto* w = qobject_cast<const QLabel*>(control)) return w->text();
    if (auto* w = qobject_cast<const QAbstractButton*>(control)) return w->text();
    if (auto* w = qobject_cast<const QTextEdit*>(control)) return w->toPlainText();
    if (auto* w = qobject_cast<const QPlainTextEdit*>(control)) return w->toPlainText();
    if (auto* w = qobject_cast<const QComboBox*>(control)) return w->currentText();
    return control ? control->windowTitle() : QString();
}

void SetControlText(QWidget* control, const QString& text) {
    if (auto* w = qobject_cast<QLineEdit*>(control)) w->setText(text);
    else if (auto* w = qobject_cast<QLabel*>(control)) w->setText(text);
    else if (auto* w = qobject_cast<QAbstractButton*>(control)) w->setText(text);
    else if (auto* w = qobject_cast<QTextEdit*>(control)) w->setPlainText(text);
    else if (auto* w = qobject_cast<QPlainTextEdit*>(control)) w->setPlainText(text);
    else if (auto* w = qobject_cast<QComboBox*>(control)) w->setEditText(text);
    else if (control) control->setWindowTitle(text);
}

QString ControlName(const QObject* control) { return control ? control->objectName() : QString(); }

}  // namespace kivtal
