#pragma once
// A text field with a default text. At rest it shows its text (or the default text in
// grey) on a flat button "multiControl_btn"; pressing it, or tabbing onto it, swaps in
// the inner edit "multiControl_edit", and losing the focus swaps back. The field carries the layout
// name; the inner parts carry the fixed names above, so a window finds the field as the
// parent of the notifying part.
#include <QWidget>

#include "ui/toolkit/LayoutControl.h"

class QLineEdit;
class QPushButton;

namespace kivtal {

// The inner parts, whose names a window's Notify sees.
namespace find_edit {
inline constexpr LayoutControl kEdit{"multiControl_edit", "QLineEdit"};
inline constexpr LayoutControl kDisplay{"multiControl_btn", "QPushButton"};
}  // namespace find_edit

class FindEdit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ GetText WRITE SetText)
    Q_PROPERTY(QString defaultText READ DefaultText WRITE SetDefaultText)
    Q_PROPERTY(int maxLength READ MaxLength WRITE SetMaxLength)

public:
    explicit FindEdit(QWidget* parent = nullptr);

    // Empty whenever the field holds its default text.
    QString GetText() const;
    void SetText(const QString& text);
    QString DefaultText() const { return defaultText_; }
    void SetDefaultText(const QString& text);
    int MaxLength() const;
    void SetMaxLength(int length);

    void EnterEditMode();
    void LeaveEditMode();
    bool IsEditing() const;

    QLineEdit* Edit() const { return edit_; }
    QPushButton* Display() const { return display_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RefreshDisplay();

    QString defaultText_;
    QLineEdit* edit_;
    QPushButton* display_;
};

}  // namespace kivtal
