#pragma once
// Text of any control kind the layouts use, so windows read and write labels, buttons,
// edits and pickers alike.
#include <QString>

class QObject;
class QWidget;

namespace kivtal {

QString ControlText(const QWidget* control);
void SetControlText(QWidget* control, const QString& text);

// The layout name a notification reports for its sender.
QString ControlName(const QObject* control);

}  // namespace kivtal
