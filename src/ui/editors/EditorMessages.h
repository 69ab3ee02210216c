#pragma once
// Showing the field rules' messages: each through the styled message box, modal over
// the editor, with the rule's own title.
#include <vector>

#include "text/FieldRules.h"

class QWidget;

namespace kivtal {

void ShowRuleMessage(QWidget* owner, const RuleMessage& message);
void ShowRuleMessages(QWidget* owner, const std::vector<RuleMessage>& messages);

}  // namespace kivtal
