#include "ui/editors/EditorMessages.h"

#include <QWidget>

#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {

void ShowRuleMessage(QWidget* owner, const RuleMessage& message) {
    ShowTalMsgBox(QString::fromStdString(message.title), owner, QString::fromStdString(message.text));
}

void ShowRuleMessages(QWidget* owner, const std::vector<RuleMessage>& messages) {
    for (const RuleMessage& m : messages) ShowRuleMessage(owner, m);
}

}  // namespace kivtal
