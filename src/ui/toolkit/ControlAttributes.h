#pragma once
// Setting a control's attribute by name and value string, the way layouts and windows
// restyle controls at run time ("bkimage", "hotimage", "textcolor", "font", ...).
// Images and colours become style-sheet rules kept per control, so setting one state's
// image leaves the others in place.
#include <QString>

class QWidget;

namespace kivtal {

// False when the attribute is unknown or its value malformed; the control is unchanged.
bool SetControlAttribute(QWidget* control, const QString& name, const QString& value);

// The skin's numbered fonts ("font" attribute): style-sheet declarations, empty for an
// index the skin does not define.
QString SkinFontDeclarations(int index);

}  // namespace kivtal
