#include "ui/controls/ComboKiv.h"

#include <QSignalBlocker>

#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

ComboKiv::ComboKiv(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, &ComboKiv::OnActivated);
}

void ComboKiv::AddItem(const QString& text, int value) {
    // A combo that gets its first item chooses it by itself; filling is not choosing.
    const bool noneChosen = currentIndex() < 0;
    QSignalBlocker quiet(this);
    addItem(text, value);
    if (noneChosen) setCurrentIndex(-1);
}

void ComboKiv::RemoveAll() {
    QSignalBlocker quiet(this);
    clear();
    setCurrentIndex(-1);
}

int ComboKiv::GetSelection() const { return currentIndex() < 0 ? -1 : currentData().toInt(); }

void ComboKiv::SelectValue(int value) {
    const int index = findData(value);
    QSignalBlocker quiet(this);
    if (index >= 0) setCurrentIndex(index);
}

void ComboKiv::showPopup() {
    emit clicked();
    emit dropDown();
    QComboBox::showPopup();
}

void ComboKiv::OnActivated(int) {
    emit itemSelected();
    // Posted, not sent: the window reacts after the popup has closed, as with any pick.
    if (auto* window = qobject_cast<WindowImplBase*>(this->window()))
        window->PostMessage(WM_COMBO_PICKED, GetSelection(), reinterpret_cast<std::intptr_t>(this));
}

}  // namespace kivtal
