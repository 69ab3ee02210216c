#include "ui/editors/EditorMessages.h"

#include <QLineEdit>
#include <QWidget>

#include "ui/controls/FindEdit.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {

void ShowRuleMessage(QWidget* owner, const RuleMessage& message) {
    ShowTalMsgBox(QString::fromStdString(message.title), owner, QString::fromStdString(message.text));
}

void ShowRuleMessages(QWidget* owner, const std::vector<RuleMessage>& messages) {
    for (const RuleMessage& m : messages) ShowRuleMessage(owner, m);
}

void FocusControl(QWidget* control) {
    if (!control) return;
    control->window()->activateWindow();
    if (auto* field = qobject_cast<FindEdit*>(control)) {
        field->EnterEditMode();
        control = field->Edit();
    }
    control->setFocus(Qt::OtherFocusReason);
}

void CheckLeftField(QWidget* owner, Editor editor, QWidget* edit, bool& busy) {
    QWidget* field = edit ? edit->parentWidget() : nullptr;
    if (busy || !field) return;
    busy = true;
    const RuleResult result = CheckField(editor, ControlName(field).toStdString(), ControlText(edit).toStdU16String());
    if (result.message) ShowRuleMessage(owner, *result.message);
    busy = false;
}

}  // namespace kivtal
