// The pane's vCard import and export: the settings menu's items and .vcf files dropped
// on the contact list. The work and its progress and summary are ContactTransfer's.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "ui/controls/ListKiv.h"
#include "ui/dialogs/ContactTransfer.h"
#include "ui/dialogs/DuplicatesWnd.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/HomePage.h"
#include "ui/main/MenuWndControls.h"

namespace kivtal {

namespace {

QStringList DroppedVCards(const QMimeData* mime) {
    return mime && mime->hasUrls() ? ContactTransfer::VCardFiles(mime->urls()) : QStringList();
}

}  // namespace

ContactTransfer& CContactsPane::Transfer() {
    if (!transfer_) {
        transfer_ = new ContactTransfer(store_, this);
        connect(transfer_, &ContactTransfer::importFinished, this, [this] {
            Refresh();
            RequestSync();
        });
    }
    return *transfer_;
}

// A user group chosen in the list takes the imported contacts and is what "this group"
// exports; 全部 and 常用 mean the whole book.
int CContactsPane::ChosenUserGroup() const {
    const int tag = SelectedGroupTag();
    return tag > 0 ? tag : 0;
}

bool CContactsPane::OnTransferMenuItem(const QString& item) {
    if (item == setting_menu::kImportContacts) Transfer().ImportWithDialog(&home_, ChosenUserGroup());
    else if (item == setting_menu::kExportAll) Transfer().ExportContacts(&home_, 0);
    else if (item == setting_menu::kExportGroup) Transfer().ExportContacts(&home_, ChosenUserGroup());
    else if (item == setting_menu::kFindDuplicates) FindDuplicates();
    else return false;
    return true;
}

void CContactsPane::FindDuplicates() {
    if (OpenDuplicatesWindow(home_, home_.Mask(), store_)) RequestSync();
    home_.RefreshPanes();
}

void CContactsPane::AcceptVCardDrops() {
    if (!list_) return;
    list_->viewport()->setAcceptDrops(true);
    list_->viewport()->installEventFilter(this);
}

bool CContactsPane::OnListDropEvent(QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DroppedVCards(drag->mimeData()).isEmpty()) return false;
        drag->acceptProposedAction();
        return true;
    }
    if (event->type() != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QStringList files = DroppedVCards(drop->mimeData());
    if (files.isEmpty()) return false;
    drop->acceptProposedAction();
    Transfer().ImportFiles(&home_, files, ChosenUserGroup());
    return true;
}

}  // namespace kivtal
