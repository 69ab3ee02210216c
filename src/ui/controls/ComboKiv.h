#pragma once
// A picker whose entries are (text, value) pairs. Its selection is the chosen entry's
// value, -1 when nothing is chosen. A pick by the user posts WM_COMBO_PICKED to the
// picker's window with wParam = the new selection and lParam = the picker itself, so
// a window with several pickers can tell which one changed.
//
// Only the user chooses: filling the picker leaves nothing chosen, and neither filling
// nor SelectValue sends "itemselect" or WM_COMBO_PICKED. A choice from the popup, the
// arrow keys or the wheel sends both.
#include <QComboBox>

namespace kivtal {

class ComboKiv : public QComboBox {
    Q_OBJECT

public:
    explicit ComboKiv(QWidget* parent = nullptr);

    void AddItem(const QString& text, int value);
    void RemoveAll();
    int GetSelection() const;
    // Chooses the entry with this value (nothing when no entry has it); posts nothing.
    void SelectValue(int value);

    // The picker a WM_COMBO_PICKED message names, for comparison with a window's controls.
    static const ComboKiv* FromMessage(std::intptr_t lParam) { return reinterpret_cast<const ComboKiv*>(lParam); }

    void showPopup() override;

signals:
    void clicked();
    void dropDown();
    // The user chose an entry; the toolkit turns it into "itemselect".
    void itemSelected();

private:
    void OnActivated(int index);
};

}  // namespace kivtal
