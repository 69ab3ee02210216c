// The matters pane's trash (回收站, the group list's last row) and the undo the main
// window offers after a matter, a remark or a matter group was deleted.
#include <QBoxLayout>
#include <QListWidget>
#include <algorithm>

#include "model/Clock.h"
#include "store/MatterStore.h"
#include "store/TrashStore.h"
#include "ui/controls/EventPlan.h"
#include "ui/main/GroupList.h"
#include "ui/main/HomePage.h"
#include "ui/main/MattersPane.h"
#include "ui/main/MattersPaneControls.h"
#include "ui/main/TrashView.h"
#include "ui/main/UndoNotice.h"

namespace kivtal {
namespace {

QString TrashRowText(LocalStore& store) {
    int count = 0;
    if (TrashStore(store).CountDeletedMatters(TrashStore::WindowStart(NowSeconds()), count) != 0)
        return QStringLiteral("回收站");
    return QStringLiteral("回收站(%1)").arg(count);
}

// The live remarks' ids of a matter; empty when they cannot be read.
std::vector<int> LiveRemarkIds(LocalStore& store, int eventId) {
    EventCommentList remarks;
    std::vector<int> ids;
    if (MatterStore(store).RemarksOf(eventId, remarks) == 0)
        for (const EventComment& r : remarks) ids.push_back(r.comment_id);
    return ids;
}

}  // namespace

TrashView* MattersPane::Trash() const { return trash_; }

void MattersPane::AddTrashRow() { groupList_->AddFixedRow(TrashRowText(store_), kMatterTrashTag, true); }

bool MattersPane::ShowTrash(bool shown) {
    if (shown && !trash_ && timeline_) {
        QWidget* page = timeline_->parentWidget();
        auto* layout = page ? qobject_cast<QBoxLayout*>(page->layout()) : nullptr;
        if (!layout) return false;
        trash_ = new TrashView(store_, kMatterTrash, page);
        layout->insertWidget(layout->indexOf(timeline_) + 1, trash_, 1);
        trash_->SetOnRestored([this] {
            PostSync();
            // Every count changes; the trash stays chosen.
            Refresh();
            if (groups_) groups_->setCurrentRow(groups_->count() - 1);
        });
    }
    if (!trash_) return false;
    if (shown) {
        timeline_->hide();
        if (QWidget* placeholder = part_.Find(matters_pane::kMattersEmpty)) placeholder->hide();
        trash_->Reload();
    }
    trash_->setVisible(shown);
    return shown;
}

MattersPane::EditorWatch MattersPane::WatchEditor(int eventId) {
    EditorWatch watch;
    if (eventId != 0 && MatterStore(store_).MatterById(eventId, watch.matter) == 0)
        watch.remarks = LiveRemarkIds(store_, eventId);
    return watch;
}

void MattersPane::OfferUndoAfterEditor(const EditorWatch& before) {
    const int eventId = before.matter.event_id;
    if (eventId == 0 || before.matter.event_state != 0) return;
    TalEvent now;
    if (MatterStore(store_).MatterById(eventId, now) != 0) return;
    if (now.event_state != 0) {
        QString description = QString::fromStdString(before.matter.description);
        description.replace(QStringLiteral("\\r\\n"), QStringLiteral(" "));  // stored line breaks
        home_.Undo().Offer(QStringLiteral("事项“%1”").arg(description),
                           [this, eventId] { return TrashStore(store_).RestoreMatters({eventId}) == 0; });
        return;
    }
    std::vector<int> gone = before.remarks;
    const std::vector<int> live = LiveRemarkIds(store_, eventId);
    std::erase_if(gone, [&](int id) { return std::find(live.begin(), live.end(), id) != live.end(); });
    if (gone.empty()) return;
    const QString what = gone.size() == 1 ? QStringLiteral("1条备注") : QStringLiteral("%1条备注").arg(gone.size());
    home_.Undo().Offer(what, [this, gone] {
        TrashStore trash(store_);
        return std::all_of(gone.begin(), gone.end(), [&](int id) { return trash.RestoreRemark(id) == 0; });
    });
}

}  // namespace kivtal
