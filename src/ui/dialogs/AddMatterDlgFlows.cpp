// The matter editor's saves and deletions, and the worker round trips behind them.
#include <QAbstractButton>
#include <QDateEdit>
#include <QTreeWidget>

#include "model/Clock.h"
#include "model/ValueString.h"
#include "net/LoginUser.h"
#include "net/SyncRun.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "ui/controls/ComboKiv.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/dialogs/AddMatterDlgControls.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/TypedText.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

const QString kErrorTitle = QStringLiteral("错误提示");
// The service takes one coin for each reminder it accepts, a cancellation none.
constexpr int kCoinsPerReminder = 1;
const QString kCoinQuestion = QStringLiteral("本操作需要扣除%1个金币，确定吗？").arg(kCoinsPerReminder);

// Line breaks travel in stored texts as the four characters \r\n.
std::string StoredText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\r\\n"));
    return TypedUtf8(text);
}

bool On(const WindowImplBase& w, const char* name) {
    auto* b = w.FindControl<QAbstractButton>(name);
    return b && b->isChecked();
}

std::optional<int> PickedTime(const WindowImplBase& w, const ReminderForm& form) {
    auto* d = w.FindControl<QDateEdit>(form.date);
    auto* h = w.FindControl<ComboKiv>(form.hour);
    auto* m = w.FindControl<ComboKiv>(form.minute);
    if (!d || !h || !m) return std::nullopt;
    const QDate day = d->date();
    return MatterTime(day.year(), day.month(), day.day(), std::max(0, h->GetSelection()),
                      std::max(0, m->GetSelection()), 0);
}

bool AnyChosen(const QTreeWidget* picker) {
    if (!picker || picker->topLevelItemCount() == 0) return false;
    const QTreeWidgetItem* root = picker->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->data(0, Qt::UserRole).toInt() > 0 && root->child(i)->checkState(0) == Qt::Checked)
            return true;
    return false;
}

bool HoldsSeparator(const std::string& text) { return text.find(kValueSeparator) != std::string::npos; }

}  // namespace

// --- Worker ---

bool CAddMatterDlg::Offline() const {
    return LoginUser::Instance().snapshot().login_mode == LoginUserState::kModeOffline;
}

void CAddMatterDlg::Request(WorkerRequest request) {
    if (!worker_) return;
    worker_->SetResultWindow(GetHandle());
    worker_->Post(std::move(request));
}

void CAddMatterDlg::RequestSync() { Request(WorkerRequest::Sync(SYNC_BY_USER)); }

void CAddMatterDlg::WaitForWorker() {
    // Runs until a result handler closes it; results arrive inside its loop.
    if (!IsBusyNoticeOpen()) ShowBusyNotice(this);
}

void CAddMatterDlg::DoneWithWorker() {
    pending_ = kPendingNone;
    CloseBusyNotice();
    if (worker_) worker_->SetResultWindow(mainWindow_);
}

void CAddMatterDlg::Tell(const QString& text, const QString& title) { ShowTalMsgBox(title, this, text); }

bool CAddMatterDlg::Ask(const QString& text, const QString& title, int titleStyle) {
    return ShowTalMsgBox(title, this, text, 1, titleStyle) == kMsgBoxOk;
}

// --- Matter ---

bool CAddMatterDlg::ValidateEditPage() {
    const QString description = ControlText(FindControl(add_matter::kMatterEdit)).trimmed();
    if (description.isEmpty()) {
        Tell(QStringLiteral("事项说明必须填写!"));
        return false;
    }
    if (HoldsSeparator(StoredText(description))) {
        Tell(QStringLiteral("事项说明不能包含“%1”")
                 .arg(QString::fromUtf8(kValueSeparator.data(), kValueSeparator.size())));
        return false;
    }
    const bool remind = On(*this, add_matter::kRemind.name);
    if (remind && !On(*this, add_matter::kEditRemindMe.name) &&
        !(On(*this, add_matter::kRemindOthers.name) &&
          AnyChosen(FindControl<QTreeWidget>(add_matter::kEditRecipients)))) {
        Tell(QStringLiteral("必须选择提醒发送人"));
        return false;
    }
    auto* begin = FindControl<QDateEdit>(add_matter::kBeginTime);
    auto* end = FindControl<QDateEdit>(add_matter::kEndTime);
    if (begin && end && end->date() < begin->date()) {
        Tell(QStringLiteral("事项结束时间必须大于开始时间"), kErrorTitle);
        return false;
    }
    if (remind) {
        const auto when = PickedTime(*this, kDescriptionForm);
        if (!when || *when <= NowSeconds()) {
            Tell(QStringLiteral("提醒发送时间不能小于当前时间"), kErrorTitle);
            return false;
        }
    }
    return true;
}

void CAddMatterDlg::SaveMatter() {
    if (On(*this, add_matter::kRemind.name) || StoredDescriptionReminder()) {
        if (!ValidateEditPage()) return;
        if (DescriptionReminderChanged()) {
            const bool cancelling = BuildDescriptionReminder().alarm_state == 1;
            if (!Ask(cancelling ? QStringLiteral("确定取消这条提醒吗？") : kCoinQuestion)) return;
        }
    }
    if (!ValidateEditPage()) return;
    WriteMatter();
}

std::optional<TalEvent> CAddMatterDlg::MatterOfForm(TalEvent m) const {
    const QDate begin = FindControl<QDateEdit>(add_matter::kBeginTime)->date();
    const QDate end = FindControl<QDateEdit>(add_matter::kEndTime)->date();
    const auto start = MatterTime(begin.year(), begin.month(), begin.day(), 0, 0, 0);
    const auto finish = MatterTime(end.year(), end.month(), end.day(), 23, 59, 59);
    if (!start || !finish) return std::nullopt;
    m.description = StoredText(ControlText(FindControl(add_matter::kMatterEdit)).trimmed());
    m.start_time = *start;
    m.end_time = *finish;
    auto* groups = FindControl<ComboKiv>(add_matter::kGroupCombo);
    m.group_id = groups ? std::max(0, groups->GetSelection()) : 0;  // the store fills its server id
    m.place_top = On(*this, add_matter::kTopMost.name) ? 1 : 0;
    return m;
}

void CAddMatterDlg::WriteMatter() {
    const bool adding = mode_ == kModeNewMatter;
    const std::optional<TalEvent> edited = MatterOfForm(adding ? matter_ : shown_);
    if (!edited) {
        Tell(QStringLiteral("事项结束时间必须大于开始时间"), kErrorTitle);
        return;
    }
    TalEvent m = *edited;
    MatterStore ms(store_);
    int rc = 0;
    if (adding) {
        m.create_time = NowSeconds();
        rc = ResultOf(ms.AddMatter(m));
    } else {
        rc = ResultOf(ms.SaveMatterEdit(shown_, m));
    }
    if (rc != 0) {
        // Nothing was stored: say so, and keep the page with what was typed.
        Tell(QStringLiteral("事项保存失败，请稍后重试"));
        return;
    }
    matter_ = m;
    if (Offline()) {
        Reload();
        ShowPage(kModeDetails);
        return;
    }
    RequestSync();
    WaitForWorker();
}

void CAddMatterDlg::OnSyncResult(int code) {
    // A run that set a received change aside stored everything else: the main window
    // names that change, and the matter's own step can go on.
    if (code != 0 && code != kResultSetAside) {
        DoneWithWorker();
        Tell(QStringLiteral("服务器出错，请稍后重试"));
        return;
    }
    Reload();
    if (pending_ == kPendingDeleteMatter) {
        Request(WorkerRequest::With(WM_REQ_SYNC_DEL_EVENT, matter_));
        return;
    }
    const bool matterPage = mode_ == kModeNewMatter || mode_ == kModeEditMatter;
    const bool reminderPage = mode_ == kModeAddReminder || mode_ == kModeEditReminder;
    if ((matterPage && DescriptionReminderChanged()) || (reminderPage && PageReminderChanged())) {
        if (matter_.event_state == 1) {
            DoneWithWorker();
            Tell(QStringLiteral("本事项已经被删除了，无法操作"));
            Close(1);
            return;
        }
        Commit(matterPage);
        return;
    }
    DoneWithWorker();
    ShowPage(kModeDetails);
}

void CAddMatterDlg::DeleteMatter() {
    if (!Ask(kMatterDeleteText, QStringLiteral("确删除本条事项吗?"), 1)) return;
    if (!Offline()) {
        pending_ = kPendingDeleteMatter;
        RequestSync();
        WaitForWorker();
        return;
    }
    if (!reminders_.empty()) {
        Tell(QStringLiteral("您的事项拥有提醒，必须在联网状态下才能删除。"));
        return;
    }
    TalEvent m = matter_;
    if (MatterStore(store_).DeleteMatter(m) != StoreStatus::kOk) {
        Tell(QStringLiteral("删除失败"));
        return;
    }
    Close(1);
}

void CAddMatterDlg::OnDeleteResult(int code) {
    DoneWithWorker();
    if (code == 0) {
        Tell(QStringLiteral("删除成功"));
        Close(1);
    } else {
        Tell(QStringLiteral("删除失败"));
    }
}

// --- Reminders ---

std::optional<EventAlarm> CAddMatterDlg::StoredDescriptionReminder() const {
    for (const EventAlarm& a : reminders_)
        if (a.event_description_alarm == 1 && a.alarm_state == 0) return a;
    return std::nullopt;
}

std::optional<EventAlarm> CAddMatterDlg::StoredReminder(int alarmId) const {
    for (const EventAlarm& a : reminders_)
        if (a.alarm_id == alarmId && alarmId != 0) return a;
    return std::nullopt;
}

void CAddMatterDlg::FillRecipients(EventAlarm& r, const ReminderForm& form) const {
    auto* picker = FindControl<QTreeWidget>(form.picker);
    const bool others = On(*this, form.others);
    const bool myself = On(*this, form.myself);
    r.alarm_whos.clear();
    r.alarm_whos_id.clear();
    if (others && picker && picker->topLevelItemCount() > 0) {
        const QTreeWidgetItem* root = picker->topLevelItem(0);
        ContactStore contacts(store_);
        for (int i = 0; i < root->childCount(); ++i) {
            const int id = root->child(i)->data(0, Qt::UserRole).toInt();
            if (id <= 0 || root->child(i)->checkState(0) != Qt::Checked) continue;
            // The server id now: a contact added since the editor opened has one only
            // after the sync that runs before every commit.
            BusinessCard card;
            if (contacts.ContactById(id, card) != 0 || card.bc_id != id) continue;  // gone meanwhile
            r.alarm_whos += (r.alarm_whos.empty() ? "" : ",") + std::to_string(card.bc_server_id);
            r.alarm_whos_id += std::to_string(id) + ";";
        }
    }
    r.alarm_myself = myself ? 1 : 0;
    if (myself) r.alarm_whos_id += "-1;";
}

EventAlarm CAddMatterDlg::BuildDescriptionReminder() const {
    EventAlarm r;
    if (const auto stored = StoredDescriptionReminder()) r = *stored;
    r.a_content = StoredText(ControlText(FindControl(add_matter::kMatterEdit)).trimmed());
    FillRecipients(r, kDescriptionForm);
    r.alarm_time = PickedTime(*this, kDescriptionForm).value_or(0);
    r.alarm_state = On(*this, add_matter::kRemind.name) ? 0 : 1;
    r.event_description_alarm = 1;
    r.event_id = matter_.event_id;
    r.event_server_id = matter_.server_id;
    r.already_sent = 0;
    return r;
}

EventAlarm CAddMatterDlg::BuildPageReminder() const {
    EventAlarm r;
    if (const auto stored = StoredReminder(reminderTag_)) r = *stored;
    r.alarm_id = reminderTag_;
    r.a_content = StoredText(ControlText(FindControl(add_matter::kReminderEdit)).trimmed());
    r.alarm_time = PickedTime(*this, kPageForm).value_or(0);
    FillRecipients(r, kPageForm);
    r.alarm_state = 0;
    r.event_description_alarm = 2;
    r.event_id = matter_.event_id;
    r.event_server_id = matter_.server_id;
    r.already_sent = 0;
    return r;
}

bool CAddMatterDlg::SameReminder(const EventAlarm& a, const EventAlarm& b) {
    return a.a_content == b.a_content && a.alarm_whos == b.alarm_whos && a.alarm_whos_id == b.alarm_whos_id &&
           a.alarm_time == b.alarm_time && a.alarm_state == b.alarm_state && a.alarm_myself == b.alarm_myself &&
           a.event_description_alarm == b.event_description_alarm;
}

bool CAddMatterDlg::DescriptionReminderChanged() const {
    const auto stored = StoredDescriptionReminder();
    const EventAlarm built = BuildDescriptionReminder();
    return stored ? !SameReminder(built, *stored) : built.alarm_state == 0;
}

bool CAddMatterDlg::PageReminderChanged() const {
    const auto stored = StoredReminder(reminderTag_);
    return !stored || !SameReminder(BuildPageReminder(), *stored);
}

bool CAddMatterDlg::ValidateReminderPage() {
    const QString text = ControlText(FindControl(add_matter::kReminderEdit)).trimmed();
    if (text.isEmpty()) {
        Tell(QStringLiteral("提醒内容不能为空"));
        return false;
    }
    const auto when = PickedTime(*this, kPageForm);
    if (!when || *when <= NowSeconds()) {
        Tell(QStringLiteral("提醒发送时间不能小于当前时间"));
        return false;
    }
    if (!On(*this, add_matter::kReminderRemindMe.name) &&
        !(On(*this, add_matter::kReminderRemindOthers.name) &&
          AnyChosen(FindControl<QTreeWidget>(add_matter::kReminderRecipients)))) {
        Tell(QStringLiteral("必须选择提醒发送人"));
        return false;
    }
    return true;
}

void CAddMatterDlg::SaveReminderPage() {
    if (!ValidateReminderPage()) return;
    if (!PageReminderChanged()) {
        ShowPage(kModeDetails);
        return;
    }
    if (!Ask(kCoinQuestion)) return;
    pending_ = kPendingReminderAdd;
    RequestSync();
    WaitForWorker();
}

void CAddMatterDlg::Commit(bool description) {
    EventAlarm r = description ? BuildDescriptionReminder() : BuildPageReminder();
    const auto stored = description ? StoredDescriptionReminder() : StoredReminder(reminderTag_);
    if (!stored) {
        r.server_id = 0;
        r.alarm_id = 0;
        pending_ = kPendingReminderAdd;
        Request(WorkerRequest::With(WM_REQ_SYNC_ALARM, r));
        return;
    }
    if (SameReminder(r, *stored)) {
        DoneWithWorker();
        ShowPage(kModeDetails);
        return;
    }
    r.server_id = stored->server_id;
    r.alarm_id = stored->alarm_id;
    if (!clockVerified_) {
        clockVerified_ = true;
        pending_ = description ? kPendingClockDescription : kPendingClockPage;
        Request(WorkerRequest::With(WM_REQ_GET_SERVER_TIME, stored->alarm_time));
        return;
    }
    r.already_sent = alreadySent_ ? 1 : 0;
    clockVerified_ = false;
    pending_ = kPendingReminderChange;
    Request(WorkerRequest::With(WM_REQ_SYNC_MODIFY_ALARM, r));
}

void CAddMatterDlg::OnServerTime(int code) {
    const bool description = pending_ == kPendingClockDescription;
    if (code == kServerTimeAhead) {
        alreadySent_ = false;
        Commit(description);
    } else if (code == kServerTimePassed) {
        alreadySent_ = true;
        if (Ask(QStringLiteral("您的提醒已经发送了，是否添加新的提醒？该操作会扣除%1个金币。")
                    .arg(kCoinsPerReminder))) {
            Commit(description);
        } else {
            clockVerified_ = false;
            DoneWithWorker();
        }
    } else {
        // No answer from the service: end the wait with a message rather than leave the
        // busy notice open with nothing more to come.
        clockVerified_ = false;
        DoneWithWorker();
        Tell(QStringLiteral("服务器出错，请稍后重试"));
    }
}

void CAddMatterDlg::OnCommitResult(bool add, int code) {
    DoneWithWorker();
    Reload();
    if (code == 0) {
        Tell(add ? QStringLiteral("提醒添加成功") : QStringLiteral("提醒修改保存成功"));
        ShowPage(kModeDetails);
    } else if (code == 2004) {
        Tell(add ? QStringLiteral("您的金币余额不足，无法添加提醒，请充值后再试")
                 : QStringLiteral("您的金币余额不足，无法修改提醒，请充值后再试"));
    } else if (code == 2008) {
        Tell(QStringLiteral("您的提醒有敏感词，请修改后重试"));
    } else {
        Tell(QStringLiteral("服务器繁忙，请稍后尝试"));
    }
}

void CAddMatterDlg::DeleteReminder(int alarmId) {
    const auto stored = StoredReminder(alarmId);
    if (!stored) return;
    EventAlarm r = *stored;
    r.alarm_state = 1;
    r.already_sent = 0;
    pending_ = kPendingReminderDelete;
    Request(WorkerRequest::With(WM_REQ_SYNC_MODIFY_ALARM, r));
    WaitForWorker();
}

// --- Remarks ---

void CAddMatterDlg::SaveRemark() {
    const QString text = ControlText(FindControl(add_matter::kRemarkEdit)).trimmed();
    if (text.isEmpty()) {
        Tell(QStringLiteral("备注内容不能为空"));
        return;
    }
    EventComment remark;
    for (const EventComment& r : remarks_)
        if (r.comment_id == remarkTag_ && remarkTag_ != 0) remark = r;
    remark.c_content = StoredText(text);
    if (HoldsSeparator(remark.c_content)) {
        Tell(QStringLiteral("备注内容不能包含“%1”")
                 .arg(QString::fromUtf8(kValueSeparator.data(), kValueSeparator.size())));
        return;
    }
    remark.event_id = matter_.event_id;
    remark.event_server_id = matter_.server_id;
    remark.create_time = NowSeconds();
    MatterStore ms(store_);
    const int rc = ResultOf(remarkTag_ != 0 ? ms.ModifyRemark(remark) : ms.AddRemark(remark));
    if (rc != 0) {
        Tell(QStringLiteral("备注保存失败，请稍后重试"));
        return;
    }
    if (!Offline() && worker_) worker_->Post(WorkerRequest::Sync(SYNC_BY_OPER_EFFECT));
    Reload();
    if (returnToDetails_) ShowPage(kModeDetails);
    else Close(1);
}

void CAddMatterDlg::DeleteRemark(int commentId) {
    for (const EventComment& r : remarks_) {
        if (r.comment_id != commentId) continue;
        EventComment gone = r;
        gone.comment_state = 1;
        if (MatterStore(store_).ModifyRemark(gone) != StoreStatus::kOk) return;
        if (!Offline() && worker_) worker_->Post(WorkerRequest::Sync(SYNC_BY_OPER_EFFECT));
        Reload();
        return;
    }
}

}  // namespace kivtal
