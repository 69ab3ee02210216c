#pragma once
// One user group's row in a group list: the label "name(count)" with a rename and a
// delete icon at its right, and the hidden edit strip (the name edit, its save and its
// cancel button) that replaces them while the name is edited. The icons post
// WM_UI_GROUP_RENAME and WM_UI_GROUP_DELETE to the window, naming the group and the list.
#include <QWidget>

#include "ui/toolkit/LayoutControl.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kivtal {

// How one list's rows look: the names its window and tests know the parts by, and
// whether the icons show only under the mouse.
struct GroupRowLook {
    LayoutControl label;
    LayoutControl rename;
    LayoutControl remove;
    LayoutControl edit;
    LayoutControl editOk;
    LayoutControl editCancel;
    bool iconsOnHover = false;
};

class GroupRow : public QWidget {
    Q_OBJECT

public:
    GroupRow(const GroupRowLook& look, int groupId, const QString& name, int count, QListWidget* list);

    int GroupId() const { return groupId_; }
    QString Name() const { return name_; }
    int Count() const { return count_; }
    void SetName(const QString& name);
    // "name(count)", as the label shows it and a screen reader reads it.
    QString LabelText() const;

    // Shows the strip with the name selected in the edit; isNew marks a row just added
    // (its cancel button then reads "取消添加").
    void StartEdit(bool isNew);
    void EndEdit();
    bool Editing() const { return editing_; }
    bool IsNew() const { return isNew_; }
    QString EditedText() const;
    QLineEdit* Edit() const { return edit_; }
    // True for the edit strip's own controls.
    bool OwnsStripControl(const QWidget* control) const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPushButton* Icon(const LayoutControl& name, const QString& glyph, const QString& tip, unsigned message);
    void ShowIcons();

    GroupRowLook look_;
    int groupId_;
    QString name_;
    int count_;
    QListWidget* list_;
    bool editing_ = false;
    bool isNew_ = false;
    bool hovered_ = false;
    QLabel* label_;
    QPushButton* rename_;
    QPushButton* delete_;
    QWidget* strip_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace kivtal
