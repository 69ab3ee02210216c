#include "ui/editors/FieldText.h"

#include "ui/controls/FindEdit.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

QString FieldText(const WindowImplBase& window, const char* control) {
    QWidget* widget = window.FindControl(control);
    if (auto* field = qobject_cast<FindEdit*>(widget)) return field->GetText();
    return ControlText(widget);
}

void SetFieldText(WindowImplBase& window, const char* control, const std::string& utf8) {
    QWidget* widget = window.FindControl(control);
    const QString text = QString::fromStdString(utf8);
    if (auto* field = qobject_cast<FindEdit*>(widget)) field->SetText(text);
    else SetControlText(widget, text);
}

}  // namespace kivtal
