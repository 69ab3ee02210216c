#include "ui/dialogs/ChangeGroupWnd.h"

#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "store/ContactStore.h"
#include "ui/dialogs/ChangeGroupWndControls.h"
#include "ui/toolkit/ControlAccess.h"

namespace kivtal {

CChangeGroupWnd::CChangeGroupWnd(LocalStore& store, int contactId) : store_(store), contactId_(contactId) {}

void CChangeGroupWnd::InitWindow() {
    // The arrow keys go from group to group; the scrolling area is no Tab stop of its own.
    if (QWidget* scroll = FindControl(change_group::kScroll)) scroll->setFocusPolicy(Qt::NoFocus);
    QWidget* box = FindControl(change_group::kOptions);
    if (!box) return;
    auto* layout = qobject_cast<QVBoxLayout*>(box->layout());
    if (!layout) layout = new QVBoxLayout(box);
    ContactStore contacts(store_);
    BusinessCard card;
    contacts.ContactById(contactId_, card);
    CardGroupList groups;
    contacts.ContactGroups(groups);
    for (const CardGroup& group : groups) {
        auto* option = new QRadioButton(QString::fromStdString(group.group_name), box);
        option->setObjectName(QStringLiteral("groupName"));
        option->setProperty("tag", group.group_id);
        // The contact's own group is shown chosen; choosing it again changes nothing.
        if (group.group_id == card.group_id) option->setChecked(true);
        layout->addWidget(option);
    }
    // Without groups there is nothing to move into: say so instead of offering names
    // that are not groups.
    if (QWidget* none = FindControl(change_group::kNoGroupTip)) none->setVisible(groups.empty());
    if (QWidget* ok = FindControl(change_group::kOk)) ok->setEnabled(false);
    layout->addStretch(1);
    BindNotifications(box);
}

void CChangeGroupWnd::Notify(const QString& type, QWidget* sender) {
    if (type == u"windowinit") FocusFirstOption();
    if (type != u"click") return;
    const QString name = ControlName(sender);
    if (name == u"groupName") {
        chosen_ = sender->property("tag").toInt();
        if (QWidget* ok = FindControl(change_group::kOk)) ok->setEnabled(true);
    } else if (name == change_group::kOk) {
        Move();
    } else if (name == change_group::kBtnClose || name == change_group::kCancel) {
        Close(1);
    }
}

// The contact's own group, else the first: the arrow keys go on from there.
void CChangeGroupWnd::FocusFirstOption() {
    const QList<QRadioButton*> options = findChildren<QRadioButton*>(QStringLiteral("groupName"));
    if (options.isEmpty()) return;
    QRadioButton* first = options.front();
    for (QRadioButton* option : options)
        if (option->isChecked()) first = option;
    activateWindow();
    first->setFocus(Qt::OtherFocusReason);
}

void CChangeGroupWnd::keyPressEvent(QKeyEvent* event) {
    QWidget* ok = FindControl(change_group::kOk);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && ok && ok->isEnabled()) Move();
    else if (event->key() == Qt::Key_Escape) Close(1);
    else WindowImplBase::keyPressEvent(event);
}

void CChangeGroupWnd::Move() {
    ContactStore contacts(store_);
    BusinessCard asRead;
    CardGroup group;
    if (chosen_ == 0 || contacts.ContactById(contactId_, asRead) != 0 || contacts.GroupById(chosen_, group) != 0) {
        Close(1);
        return;
    }
    BusinessCard card = asRead;
    card.group_id = group.group_id;
    Close(contacts.SaveContactEdit(asRead, card) == StoreStatus::kOk ? kChangeGroupMoved : 1);
}

}  // namespace kivtal
