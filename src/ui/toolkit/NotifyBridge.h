#pragma once
// Turns the Qt signals and focus changes of a window's controls into its Notify calls
// with the toolkit's notification names.
#include <QObject>

namespace kivtal {

class WindowImplBase;

class NotifyBridge : public QObject {
    Q_OBJECT

public:
    explicit NotifyBridge(WindowImplBase* window);

    // Connects every control under root once; focus changes are watched by the window.
    void Bind(QWidget* root);

private slots:
    void OnClick();
    void OnReturn();
    void OnTextChanged();
    void OnItemSelect();
    void OnItemClick();
    void OnDropDown();
    void OnLink();

private:
    void BindControl(QWidget* control);
    void Forward(const char* type);

    WindowImplBase* window_;
};

}  // namespace kivtal
