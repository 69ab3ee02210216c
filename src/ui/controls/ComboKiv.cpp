#include "ui/controls/ComboKiv.h"

#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

ComboKiv::ComboKiv(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, &ComboKiv::OnActivated);
}

void ComboKiv::AddItem(const QString& text, int value) { addItem(text, value); }

void ComboKiv::RemoveAll() {
    clear();
    setCurrentIndex(-1);
}

int ComboKiv::GetSelection() const {
    return currentIndex() < 0 ? -1 : currentData().toInt();
}

void ComboKiv::SelectValue(int value) {
    const int index = findData(value);
    if (index >= 0) setCurrentIndex(index);
}

void ComboKiv::showPopup() {
    emit clicked();
    emit dropDown();
    QComboBox::showPopup();
}

void ComboKiv::OnActivated(int) {
    // Posted, not sent: the window reacts after the popup has closed, as with any pick.
    if (auto* window = qobject_cast<WindowImplBase*>(this->window()))
        window->PostMessage(WM_COMBO_PICKED, GetSelection(), reinterpret_cast<std::intptr_t>(this));
}

}  // namespace kivtal
