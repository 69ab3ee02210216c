#pragma once
// What a screen reader is told about the controls that draw themselves as something
// other than their Qt kind: a text field (FindEdit) is an edit named by its label whose
// value is its text, whichever of its two inner parts shows; a button styled as a page
// tab (skinRole "tab") is a page tab.
class QWidget;

namespace kivtal {

// Installs the accessibility factory for them, ahead of the others; again is harmless.
void InstallAccessibleParts();

// Forgets the interface Qt made for control while the layout was still being read (a
// button's text announces itself before its skinRole is set), so the next question
// makes it anew from the control as it now is.
void RenewAccessible(QWidget* control);

}  // namespace kivtal
