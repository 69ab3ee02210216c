#pragma once
// One row of the matter group list: "name(count)" with delete and rename icons, and
// the hidden edit strip ("matter_group_edit", "MatterGroup_edit_ok",
// "MatterGroup_edit_delete") that replaces the label while the name is edited.
#include <QWidget>

#include "ui/toolkit/LayoutControl.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kivtal {

// The parts of the edit strip, made in code; the matters pane tells them by these names.
namespace matter_group_row {
inline constexpr LayoutControl kEdit{"matter_group_edit", "QLineEdit"};
inline constexpr LayoutControl kEditOk{"MatterGroup_edit_ok", "QPushButton"};
inline constexpr LayoutControl kEditCancel{"MatterGroup_edit_delete", "QPushButton"};
}  // namespace matter_group_row

class MatterGroupRow : public QWidget {
    Q_OBJECT

public:
    // list: the group list, sent as lParam of the icon messages.
    MatterGroupRow(int groupId, const QString& name, int count, QListWidget* list);

    int GroupId() const { return groupId_; }
    QString Name() const { return name_; }
    int Count() const { return count_; }
    void SetName(const QString& name);
    QString LabelText() const;

    // The edit strip. isNew marks a row just added: cancelling it deletes the group.
    void StartEdit(bool isNew);
    void EndEdit();
    bool Editing() const { return editing_; }
    bool IsNew() const { return isNew_; }
    QString EditText() const;
    QLineEdit* Edit() const { return edit_; }

private:
    QPushButton* Icon(const char* name, const QString& glyph, const QString& tip, unsigned message);

    int groupId_;
    QString name_;
    int count_;
    QListWidget* list_;
    bool editing_ = false;
    bool isNew_ = false;
    QLabel* label_ = nullptr;
    QPushButton* rename_ = nullptr;
    QPushButton* delete_ = nullptr;
    QWidget* strip_ = nullptr;
    QLineEdit* edit_ = nullptr;
};

}  // namespace kivtal
