#pragma once
// Showing the field rules' messages: each through the styled message box, modal over
// the editor, with the rule's own title.
#include <vector>

#include "text/FieldRules.h"

class QWidget;

namespace kivtal {

void ShowRuleMessage(QWidget* owner, const RuleMessage& message);
void ShowRuleMessages(QWidget* owner, const std::vector<RuleMessage>& messages);
// The check of the text field whose inner edit lost the focus, its message shown over
// owner. `busy` keeps a message box's own focus change from checking again.
// Puts the keyboard focus in control: a text field's own edit, where typing goes.
void FocusControl(QWidget* control);
void CheckLeftField(QWidget* owner, Editor editor, QWidget* edit, bool& busy);

}  // namespace kivtal
