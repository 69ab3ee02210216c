#pragma once
// One user group's row in the group list: the label "name(count)" that draws a rename
// and a delete icon at its right while hovered, and the hidden edit strip (the name
// edit, "group_edit_ok" and "grou_edit_delete") shown while the name is edited.
#include <QLabel>
#include <QWidget>

#include "model/Records.h"
#include "net/ResultPoster.h"
#include "ui/toolkit/LayoutControl.h"

class QLineEdit;
class QPushButton;

namespace kivtal {

// The parts of the edit strip, made in code; the contacts pane tells them by these names.
namespace group_row {
inline constexpr LayoutControl kEdit{"group_edit", "QLineEdit"};
inline constexpr LayoutControl kEditOk{"group_edit_ok", "QPushButton"};
inline constexpr LayoutControl kEditCancel{"grou_edit_delete", "QPushButton"};
}  // namespace group_row

class CGroupLabelUI : public QLabel {
    Q_OBJECT

public:
    CGroupLabelUI(int groupId, WindowHandle window, QWidget* parent);

    // Off while the name is edited: no icons, no hover tint.
    void SetHot(bool hot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect DeleteIcon() const;
    QRect RenameIcon() const;

    int groupId_;
    WindowHandle window_;
    bool hot_ = true;
    bool hovered_ = false;
};

class GroupRow : public QWidget {
    Q_OBJECT

public:
    GroupRow(const CardGroup& group, WindowHandle window, QWidget* parent = nullptr);

    int GroupId() const { return groupId_; }
    QString Name() const { return name_; }
    int Count() const { return count_; }
    void SetName(const QString& name);

    bool Editing() const;
    // Shows the strip with the name selected in the edit; isNew marks a row just added
    // (its cancel button then reads "取消添加").
    void StartEdit(bool isNew);
    void EndEdit();
    bool IsNew() const;
    QString EditedText() const;
    QLineEdit* Edit() const { return edit_; }
    // True for the edit strip's own controls.
    bool OwnsStripControl(const QWidget* control) const;

private:
    int groupId_;
    int count_;
    QString name_;
    CGroupLabelUI* label_;
    QWidget* strip_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace kivtal
