#pragma once
// Reading and writing an editor's controls by layout name, text fields included (a
// text field reads empty while it shows its default text).
#include <QString>
#include <string>

namespace kivtal {

class WindowImplBase;

QString FieldText(const WindowImplBase& window, const char* control);
void SetFieldText(WindowImplBase& window, const char* control, const std::string& utf8);

}  // namespace kivtal
