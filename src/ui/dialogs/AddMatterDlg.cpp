// The matter editor's pages and what they show.
#include "ui/dialogs/AddMatterDlg.h"

#include <QAbstractButton>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTreeWidget>

#include "model/Clock.h"
#include "model/WallClock.h"
#include "store/ContactStore.h"
#include "store/MatterStore.h"
#include "ui/controls/ComboKiv.h"
#include "ui/controls/DatePopup.h"
#include "ui/dialogs/AddMatterDlgControls.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

constexpr int kSelectAllId = -1;
constexpr int kMyselfId = -1;

QString Two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString DateText(int t) {
    const WallClock w = TimeToWallClock(t);
    return QStringLiteral("%1-%2-%3").arg(w.year, 4, 10, QLatin1Char('0')).arg(Two(w.month), Two(w.day));
}

QString ShownText(const std::string& stored) {
    QString text = QString::fromStdString(stored);
    text.replace(QStringLiteral("\\r\\n"), QStringLiteral("\n"));
    return text;
}

QDate DateOfTime(int t) {
    const WallClock w = TimeToWallClock(t);
    return QDate(w.year, w.month, w.day);
}

// A list row with its number, its text and edit/delete buttons that post msgEdit /
// msgDelete with the record's id to the editor.
QWidget* RecordRow(QWidget* window, const char* numberName, int number, const QString& text, int id, unsigned msgEdit,
                   unsigned msgDelete) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(4, 0, 4, 0);
    auto* index = new QLabel(QString::number(number) + QLatin1Char('.'), row);
    index->setObjectName(QString::fromLatin1(numberName));
    auto* body = new QLabel(text, row);
    body->setObjectName(QStringLiteral("time"));
    body->setToolTip(text);
    layout->addWidget(index);
    layout->addWidget(body, 1);
    for (auto [glyph, tip, message] : {std::tuple{"✎", "编辑", msgEdit}, std::tuple{"×", "删除", msgDelete}}) {
        auto* button = new QPushButton(QString::fromUtf8(glyph), row);
        button->setFlat(true);
        button->setFixedSize(22, 22);
        button->setToolTip(QString::fromUtf8(tip));
        button->setAccessibleName(QString::fromUtf8(tip) + QLatin1Char(' ') + QString::number(number));
        QObject::connect(button, &QPushButton::clicked, window, [window, message = message, id] {
            static_cast<WindowImplBase*>(window)->PostMessage(message, id);
        });
        layout->addWidget(button);
    }
    row->setProperty("tag", id);
    row->setAccessibleName(QString::number(number) + QLatin1Char(' ') + text);
    return row;
}

}  // namespace

std::optional<int> MatterTime(int year, int month, int day, int hour, int minute, int second) {
    return WallClockToTime(
        WallClock{.year = year, .month = month, .day = day, .hour = hour, .minute = minute, .second = second});
}

CAddMatterDlg::CAddMatterDlg(LocalStore& store, TalEvent matter, int presetGroup, MatterPage start)
    : store_(store), matter_(std::move(matter)), presetGroup_(presetGroup), start_(start) {}

void CAddMatterDlg::InitWindow() {
    // The pickers cannot hold a date whose time leaves the stored 32 bits.
    // Each date pop-up keeps clear of its page's save and cancel buttons.
    const struct {
        LayoutControl date, save, cancel;
    } dates[] = {{add_matter::kBeginTime, add_matter::kSaveEdit, add_matter::kCancelEdit},
                 {add_matter::kEndTime, add_matter::kSaveEdit, add_matter::kCancelEdit},
                 {add_matter::kEditRemindTime, add_matter::kSaveEdit, add_matter::kCancelEdit},
                 {add_matter::kReminderTime, add_matter::kSaveReminder, add_matter::kCancelReminder}};
    for (const auto& d : dates) {
        auto* date = FindControl<QDateEdit>(d.date);
        if (!date) continue;
        date->setDateRange(QDate(1970, 1, 2), QDate(2038, 1, 18));
        UseHouseDatePopup(*date, {FindControl(d.save), FindControl(d.cancel)});
    }
    for (const char* name : {add_matter::kEditRemindCombo.name, add_matter::kReminderCombo.name})
        if (auto* c = FindControl<ComboKiv>(name))
            for (int h = 0; h < 24; ++h) c->AddItem(Two(h), h);
    for (const char* name : {add_matter::kEditMinuteCombo.name, add_matter::kReminderMinuteCombo.name})
        if (auto* c = FindControl<ComboKiv>(name))
            for (int m = 0; m < 60; ++m) c->AddItem(Two(m), m);
    if (auto* begin = FindControl<QDateEdit>(add_matter::kBeginTime))
        if (auto* end = FindControl<QDateEdit>(add_matter::kEndTime))
            // The end follows the start: it never lies before it.
            connect(begin, &QDateEdit::dateChanged, end, [end](QDate d) {
                if (end->date() < d) end->setDate(d);
            });
    for (const char* name : {add_matter::kEditRecipients.name, add_matter::kReminderRecipients.name})
        if (auto* picker = FindControl<QTreeWidget>(name))
            // "全选" chooses or clears every contact.
            connect(picker, &QTreeWidget::itemChanged, picker, [picker](QTreeWidgetItem* item) {
                if (item->data(0, Qt::UserRole).toInt() != kSelectAllId || !item->parent()) return;
                const QSignalBlocker inner(picker);
                for (int i = 0; i < item->parent()->childCount(); ++i)
                    item->parent()->child(i)->setCheckState(0, item->checkState(0));
            });
    Reload();
    if (matter_.event_id != 0) ShowClashes();
    if (start_ == MatterPage::NewMatter) ShowPage(kModeNewMatter);
    else if (start_ == MatterPage::AddRemark) {
        returnToDetails_ = false;
        ShowPage(kModeAddRemark);
    } else ShowPage(kModeDetails);
}

void CAddMatterDlg::Notify(const QString& type, QWidget* sender) {
    if (type == u"windowinit") {
        PostMessage(WM_UI_FILL_PICKERS);
        return;
    }
    if (type != u"click") return;
    const QString name = ControlName(sender);
    if (name == add_matter::kBtnClose || name == u"delete_btn") Close(1);
    else if (name == add_matter::kRemind) ToggleShown(add_matter::kRemind.name, add_matter::kRemindLayout.name, false);
    else if (name == add_matter::kRemindOthers)
        ToggleShown(add_matter::kRemindOthers.name, add_matter::kEditRecipients.name, true);
    else if (name == add_matter::kReminderRemindOthers)
        ToggleShown(add_matter::kReminderRemindOthers.name, add_matter::kReminderRecipients.name, true);
    else if (name == add_matter::kEditMatter) ShowPage(kModeEditMatter);
    else if (name == add_matter::kAddRemark) ShowPage(kModeAddRemark);
    else if (name == add_matter::kAddReminder) ShowPage(kModeAddReminder);
    else if (name == add_matter::kSaveEdit) SaveMatter();
    else if (name == add_matter::kCancelEdit) {
        if (mode_ == kModeNewMatter) Close(1);
        else ShowPage(kModeDetails);
    } else if (name == add_matter::kSaveRemark) SaveRemark();
    else if (name == add_matter::kCancelRemark || name == add_matter::kCancelReminder) {
        if (returnToDetails_) ShowPage(kModeDetails);
        else Close(1);
    } else if (name == add_matter::kSaveReminder) SaveReminderPage();
    else if (name == add_matter::kDeleteMatter) DeleteMatter();
}

std::intptr_t CAddMatterDlg::HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t, bool& handled) {
    handled = true;
    const int id = static_cast<int>(wParam);
    switch (number) {
        case WM_UI_FILL_PICKERS:
            if (pickersFilled_) FillPickers();
            break;
        case WM_UI_REMARK_DELETE:
            if (Ask(kRemarkDeleteText, QStringLiteral("确定删除本条备注吗?"), 1)) DeleteRemark(id);
            break;
        case WM_UI_REMARK_EDIT:
            for (const EventComment& r : remarks_)
                if (r.comment_id == id) {
                    ShowPage(kModeEditRemark);
                    FillRemarkPage(&r);
                    break;
                }
            break;
        case WM_UI_REMINDER_DELETE:
            if (Ask(QStringLiteral("删除后将无法恢复！"), QStringLiteral("确定删除本条提醒吗?"), 1)) DeleteReminder(id);
            break;
        case WM_UI_REMINDER_EDIT:
            if (const auto stored = StoredReminder(id)) {
                ShowPage(kModeEditReminder);
                FillReminderPage(&*stored);
            }
            break;
        case WM_RES_SYNC: OnSyncResult(id); break;
        case WM_RES_SYNC_ALARM:
        case WM_RES_SYNC_MODIFY_ALARM: OnCommitResult(number == WM_RES_SYNC_ALARM, id); break;
        case WM_RES_SYNC_DEL_EVENT: OnDeleteResult(id); break;
        case WM_RES_GET_SERVER_TIME: OnServerTime(id); break;
        default: handled = false;
    }
    return 0;
}

// --- Pages ---

void CAddMatterDlg::ShowPage(int mode) {
    mode_ = mode;
    static const char* const kPages[] = {add_matter::kShowPage.name,    add_matter::kEditPage.name,
                                         add_matter::kEditPage.name,    add_matter::kRemarkPage.name,
                                         add_matter::kRemarkPage.name,  add_matter::kReminderPage.name,
                                         add_matter::kReminderPage.name};
    auto* pages = FindControl<QStackedWidget>(add_matter::kPages);
    QWidget* page = FindControl(kPages[mode]);
    if (pages && page) pages->setCurrentWidget(page);
    QString title;
    switch (mode) {
        case kModeDetails:
            title = QStringLiteral("事项详情");
            FillDetails();
            break;
        case kModeNewMatter:
        case kModeEditMatter:
            title = mode == kModeNewMatter ? QStringLiteral("添加事项") : QStringLiteral("事项详情");
            if (!pickersFilled_) FillPickers();
            FillEditPage();
            break;
        case kModeAddRemark:
        case kModeEditRemark:
            title = mode == kModeAddRemark ? QStringLiteral("添加备注") : QStringLiteral("编辑备注");
            FillRemarkPage(nullptr);
            break;
        default:
            title = mode == kModeAddReminder ? QStringLiteral("添加提醒") : QStringLiteral("编辑提醒");
            if (!pickersFilled_) FillPickers();
            FillReminderPage(nullptr);
    }
    SetControlText(FindControl(add_matter::kTitle), title);
    setWindowTitle(title);
}

void CAddMatterDlg::Reload() {
    MatterStore ms(store_);
    if (matter_.event_id != 0) ms.MatterById(matter_.event_id, matter_);
    remarks_.clear();
    reminders_.clear();
    if (matter_.event_id != 0) {
        ms.RemarksOf(matter_.event_id, remarks_);
        ms.RemindersOf(matter_.event_id, reminders_);
    }
    FillLists();
}

void CAddMatterDlg::ReloadAfterSync() {
    if (matter_.event_id == 0 || pending_ != kPendingNone) return;
    TalEvent fresh;
    if (MatterStore(store_).MatterById(matter_.event_id, fresh) != 0 || fresh.event_id != matter_.event_id ||
        fresh.event_state == 1) {
        Tell(QStringLiteral("本事项已经被删除了，无法操作"));
        Close(1);
        return;
    }
    Reload();
    if (mode_ == kModeDetails) FillDetails();
}

void CAddMatterDlg::FillDetails() {
    SetControlText(FindControl(add_matter::kShowText), ShownText(matter_.description));
    SetControlText(FindControl(add_matter::kShowTime),
                   QStringLiteral("%1 至 %2").arg(DateText(matter_.start_time), DateText(matter_.end_time)));
    QString group = QStringLiteral("默认");
    EventGroup g;
    if (matter_.group_id != 0 && MatterStore(store_).MatterGroupById(matter_.group_id, g) == 0 &&
        g.group_id == matter_.group_id)
        group = QString::fromStdString(g.group_name);
    SetControlText(FindControl(add_matter::kShowGroup), group);
    const auto reminder = StoredDescriptionReminder();
    SetControlText(FindControl(add_matter::kShowRecipients), reminder ? RecipientNames(*reminder) : QString());
    QString when;
    if (reminder) {
        const WallClock w = TimeToWallClock(reminder->alarm_time);
        when = QStringLiteral("%1 %2:%3").arg(DateText(reminder->alarm_time), Two(w.hour), Two(w.minute));
    }
    SetControlText(FindControl(add_matter::kShowReminder), when);
    FillLists();
}

QString CAddMatterDlg::RecipientNames(const EventAlarm& reminder) const {
    QString names;
    ContactStore contacts(store_);
    for (const QString& part :
         QString::fromStdString(reminder.alarm_whos_id).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int id = part.toInt();
        if (id == kMyselfId) {
            names += QStringLiteral("我;");
            continue;
        }
        BusinessCard card;
        if (contacts.ContactById(id, card) == 0 && card.bc_id == id)
            names += QString::fromStdString(card.bc_name) + QLatin1Char(';');
    }
    return names;
}

void CAddMatterDlg::FillLists() {
    if (auto* list = FindControl<QListWidget>(add_matter::kRemarkList)) {
        list->clear();
        int n = 0;
        for (const EventComment& r : remarks_) {
            auto* item = new QListWidgetItem(list);
            item->setSizeHint(QSize(0, 28));
            item->setData(Qt::UserRole, r.comment_id);
            list->setItemWidget(item, RecordRow(this, "index", ++n, ShownText(r.c_content), r.comment_id,
                                                WM_UI_REMARK_EDIT, WM_UI_REMARK_DELETE));
        }
    }
    if (auto* list = FindControl<QListWidget>(add_matter::kReminderList)) {
        list->clear();
        int n = 0;
        for (const EventAlarm& a : reminders_) {
            if (a.event_description_alarm == 1) continue;  // shown above the lists
            const WallClock w = TimeToWallClock(a.alarm_time);
            const QString text =
                QStringLiteral("%1 %2:%3 %4")
                    .arg(DateText(a.alarm_time), Two(w.hour), Two(w.minute), QString::fromStdString(a.a_content));
            auto* item = new QListWidgetItem(list);
            item->setSizeHint(QSize(0, 28));
            item->setData(Qt::UserRole, a.alarm_id);
            list->setItemWidget(item, RecordRow(this, "remarkCount", ++n, text, a.alarm_id, WM_UI_REMINDER_EDIT,
                                                WM_UI_REMINDER_DELETE));
        }
    }
}

void CAddMatterDlg::FillEditPage() {
    SetControlText(FindControl(add_matter::kMatterEdit), ShownText(matter_.description));
    const int now = NowSeconds();
    auto* begin = FindControl<QDateEdit>(add_matter::kBeginTime);
    auto* end = FindControl<QDateEdit>(add_matter::kEndTime);
    if (begin && end) {
        begin->setDate(DateOfTime(matter_.start_time ? matter_.start_time : now));
        end->setDate(DateOfTime(matter_.end_time ? matter_.end_time : now));
    }
    if (auto* groups = FindControl<ComboKiv>(add_matter::kGroupCombo)) {
        groups->RemoveAll();
        groups->AddItem(QStringLiteral("默认"), 0);
        EventGroupList list;
        MatterStore(store_).MatterGroups(list);
        for (const EventGroup& g : list) groups->AddItem(QString::fromStdString(g.group_name), g.group_id);
        groups->SelectValue(0);
        groups->SelectValue(presetGroup_);
        if (mode_ == kModeEditMatter) groups->SelectValue(matter_.group_id);
    }
    if (auto* pin = FindControl<QAbstractButton>(add_matter::kTopMost)) pin->setChecked(matter_.place_top != 0);
    shown_ = MatterOfForm(matter_).value_or(matter_);
    const auto reminder = mode_ == kModeEditMatter ? StoredDescriptionReminder() : std::nullopt;
    auto* remind = FindControl<QAbstractButton>(add_matter::kRemind);
    if (remind) remind->setChecked(reminder.has_value());
    if (QWidget* tips = FindControl(add_matter::kRemindLayout)) tips->setVisible(reminder.has_value());
    ShowReminderForm(kDescriptionForm, reminder ? &*reminder : nullptr);
}

void CAddMatterDlg::ShowReminderForm(const ReminderForm& form, const EventAlarm* reminder) {
    // Five minutes ahead, rolling into the next hour or day as a clock does.
    const WallClock w = TimeToWallClock(reminder ? reminder->alarm_time : NowSeconds() + 300);
    if (auto* d = FindControl<QDateEdit>(form.date)) d->setDate(QDate(w.year, w.month, w.day));
    if (auto* h = FindControl<ComboKiv>(form.hour)) h->SelectValue(w.hour);
    if (auto* m = FindControl<ComboKiv>(form.minute)) m->SelectValue(w.minute);
    if (auto* me = FindControl<QAbstractButton>(form.myself)) me->setChecked(reminder && reminder->alarm_myself == 1);
    const QStringList ids =
        reminder ? QString::fromStdString(reminder->alarm_whos_id).split(QLatin1Char(';'), Qt::SkipEmptyParts)
                 : QStringList();
    bool anyOther = false;
    auto* picker = FindControl<QTreeWidget>(form.picker);
    if (picker && picker->topLevelItemCount() > 0) {
        const QSignalBlocker block(picker);
        QTreeWidgetItem* root = picker->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i) {
            const int id = root->child(i)->data(0, Qt::UserRole).toInt();
            const bool chosen = id != kSelectAllId && ids.contains(QString::number(id));
            anyOther = anyOther || chosen;
            root->child(i)->setCheckState(0, chosen ? Qt::Checked : Qt::Unchecked);
        }
    }
    if (auto* others = FindControl<QAbstractButton>(form.others)) others->setChecked(anyOther);
    if (picker) picker->setVisible(anyOther);
}

void CAddMatterDlg::FillRemarkPage(const EventComment* remark) {
    auto* edit = FindControl(add_matter::kRemarkEdit);
    remarkTag_ = remark ? remark->comment_id : 0;
    SetControlText(edit, remark ? ShownText(remark->c_content) : QString());
    if (edit) edit->setProperty("tag", remarkTag_);
}

void CAddMatterDlg::FillReminderPage(const EventAlarm* reminder) {
    reminderTag_ = reminder ? reminder->alarm_id : 0;
    QWidget* text = FindControl(add_matter::kReminderEdit);
    SetControlText(text, reminder ? QString::fromStdString(reminder->a_content) : QString());
    if (text) text->setProperty("tag", reminderTag_);
    ShowReminderForm(kPageForm, reminder);
}

void CAddMatterDlg::FillPickers() {
    pickersFilled_ = true;
    BusinessCardList contacts;
    ContactStore(store_).AllContacts(contacts);
    for (const char* name : {add_matter::kEditRecipients.name, add_matter::kReminderRecipients.name}) {
        auto* picker = FindControl<QTreeWidget>(name);
        if (!picker) continue;
        // Keep what is chosen across a refill.
        QSet<int> chosen;
        if (picker->topLevelItemCount() > 0)
            for (int i = 0; i < picker->topLevelItem(0)->childCount(); ++i)
                if (picker->topLevelItem(0)->child(i)->checkState(0) == Qt::Checked)
                    chosen << picker->topLevelItem(0)->child(i)->data(0, Qt::UserRole).toInt();
        const QSignalBlocker block(picker);
        picker->setUpdatesEnabled(false);
        picker->clear();
        auto* root = new QTreeWidgetItem(picker, {QStringLiteral("全部")});
        QList<QTreeWidgetItem*> items;
        items.reserve(static_cast<int>(contacts.size()) + 1);
        auto add = [&](const QString& text, int id) {
            auto* item = new QTreeWidgetItem({text});
            item->setData(0, Qt::UserRole, id);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, chosen.contains(id) ? Qt::Checked : Qt::Unchecked);
            items.push_back(item);
        };
        add(QStringLiteral("全选"), kSelectAllId);
        for (const BusinessCard& c : contacts) add(QString::fromStdString(c.bc_name), c.bc_id);
        root->addChildren(items);
        root->setExpanded(true);
        picker->setUpdatesEnabled(true);
    }
}

void CAddMatterDlg::ToggleShown(const char* toggle, const char* shown, bool clearPicker) {
    auto* button = FindControl<QAbstractButton>(toggle);
    QWidget* target = FindControl(shown);
    if (!button || !target) return;
    target->setVisible(button->isChecked());
    auto* picker = qobject_cast<QTreeWidget*>(target);
    if (clearPicker && picker && picker->topLevelItemCount() > 0) {
        const QSignalBlocker block(picker);
        QTreeWidgetItem* root = picker->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i) root->child(i)->setCheckState(0, Qt::Unchecked);
    }
}

std::vector<QString> CAddMatterDlg::EnterButtons() const {
    return {add_matter::kSaveEdit.name, add_matter::kSaveRemark.name, add_matter::kSaveReminder.name};
}

std::vector<QString> CAddMatterDlg::EscapeButtons() const {
    return {add_matter::kCancelEdit.name, add_matter::kCancelRemark.name, add_matter::kCancelReminder.name,
            add_matter::kBtnClose.name};
}

}  // namespace kivtal
