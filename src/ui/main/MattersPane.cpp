#include "ui/main/MattersPane.h"

#include <QLineEdit>
#include <QListWidget>
#include <map>

#include "model/Diagnostics.h"
#include "model/WallClock.h"
#include "store/MatterStore.h"
#include "ui/controls/BirthdayList.h"
#include "ui/controls/Calendar.h"
#include "ui/controls/EventPlan.h"
#include "ui/controls/MultiButton.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/main/BirthdayViews.h"
#include "ui/main/HomePage.h"
#include "ui/main/HomePageControls.h"
#include "ui/main/GroupList.h"
#include "ui/main/MattersPaneControls.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"  // MaskDlg.h holds a QPointer to it
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

const LayoutControl kQuickDayButtons[] = {matters_pane::kToday, matters_pane::kTomorrow,
                                          matters_pane::kDayAfterTomorrow, matters_pane::kThreeDaysOn};
const char* const kQuickDayTitles[] = {"今天", "明天", "后天", "大后天"};

// Stored descriptions and remarks carry line breaks as the four characters \r\n.
QString ShownText(const std::string& stored) {
    QString text = QString::fromStdString(stored);
    text.replace(QStringLiteral("\\r\\n"), QString(QChar(13)));
    return text;
}

QString DateText(CalendarDate d) {
    return QStringLiteral("%1-%2-%3")
        .arg(d.year, 4, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'));
}

// The live matters touching a day; 1 when the day cannot be expressed or the read fails.
int ReadDay(LocalStore& store, CalendarDate date, std::optional<int> groupId, TalEventList& out) {
    const auto dayStart = DayStart(date);
    if (!dayStart) return 1;
    MatterStore matters(store);
    return groupId ? matters.MattersOfGroupOnDay(*dayStart, *groupId, out) : matters.MattersOnDay(*dayStart, out);
}

int CountOn(LocalStore& store, CalendarDate date) {
    TalEventList matters;
    return ReadDay(store, date, std::nullopt, matters) == 0 ? static_cast<int>(matters.size()) : 0;
}

// "10:00-11:30"; an end or start on another day than `date` carries its month and day.
QString TimeSpanText(const TalEvent& m, CalendarDate date) {
    const auto part = [date](std::int32_t t) {
        const WallClock w = TimeToWallClock(t);
        const QString clock =
            QStringLiteral("%1:%2").arg(w.hour, 2, 10, QLatin1Char('0')).arg(w.minute, 2, 10, QLatin1Char('0'));
        if (CalendarDate{w.year, w.month, w.day} == date) return clock;
        return QStringLiteral("%1月%2日 %3").arg(w.month).arg(w.day).arg(clock);
    };
    return part(m.start_time) + QLatin1Char('-') + part(m.end_time);
}

}  // namespace

MattersPane::MattersPane(CHomePage& home, LocalStore& store, PanePart part)
    : home_(home),
      store_(store),
      part_(std::move(part)),
      calendar_(part_.Find<CCalendarUI>(matters_pane::kCalendar)),
      timeline_(part_.Find<CTimeBase>(matters_pane::kTimeline)),
      groups_(part_.Find<QListWidget>(matters_pane::kGroupList)) {
    if (calendar_) {
        calendar_->SetBusySource([&store](std::int32_t from, std::int32_t to, std::vector<int>& days) {
            return MatterStore(store).BusyDays(from, to, days);
        });
        calendar_->SetBirthdaySource(
            [&store](CalendarDate first, CalendarDate last) { return BirthdayDays(store, first, last); });
        calendar_->RefreshBusyMarks();
    }
    if (groups_) AttachGroups(*groups_);
}

MattersPane::~MattersPane() = default;

// --- Refresh ---

void MattersPane::Refresh() {
    if (!groups_ || !calendar_ || EditingRow() != -1) return;
    groupList_->Clear();
    // One read of the day's matters serves row 0 and every group's count.
    TalEventList onDay;
    if (ReadDay(store_, calendar_->Selected(), std::nullopt, onDay) != 0) onDay.clear();
    std::map<int, int> perGroup;
    for (const TalEvent& m : onDay) ++perGroup[m.group_id];

    groupList_->AddFixedRow(QStringLiteral("%1(%2)").arg(kDefaultMatterGroup).arg(onDay.size()), 0);
    calendar_->RefreshBusyMarks();

    EventGroupList groupList;
    if (MatterStore(store_).MatterGroups(groupList) == 0)
        for (const EventGroup& g : groupList)
            groupList_->AddGroupRow(g.group_id, QString::fromStdString(g.group_name), perGroup[g.group_id]);
    AddTrashRow();
    groupList_->Select(0);
    OnGroupSelected();
    RefreshQuickDays();
    if (auto* birthdays = part_.Find<BirthdayList>(matters_pane::kBirthdays)) RefreshBirthdayList(*birthdays, store_);
}

void MattersPane::RefreshQuickDays() {
    CalendarDate day = TodayDate();
    for (int k = 0; k < 4; ++k) {
        if (auto* button = part_.Find<CMultiLineButtonUI>(kQuickDayButtons[k]))
            button->SetDay(QString::fromUtf8(kQuickDayTitles[k]), DateText(day), CountOn(store_, day));
        day = NextDay(day);
    }
}

void MattersPane::RefreshCalendar() {
    if (calendar_) calendar_->Refresh();
}

void MattersPane::RefreshEditor() {
    if (editor_) editor_->ReloadAfterSync();
}

void MattersPane::ShowUpcoming() {
    if (!timeline_ || !groups_ || EditingRow() != -1) return;
    groupList_->Select(0);
    UpcomingView();
    UpdateEmptyState();
}

// --- Timeline ---

void MattersPane::OnGroupSelected() {
    if (groups_ && groupList_->TakeChoice()) FillTimeline();
}

void MattersPane::FillTimeline() {
    if (!timeline_ || !calendar_) return;
    const int tag = SelectedGroupTag();
    if (ShowTrash(tag == kMatterTrashTag)) return;
    const CalendarDate date = calendar_->Selected();
    if (tag != 0) DayView(date, tag);
    else if (date == TodayDate()) UpcomingView();
    else DayView(date, std::nullopt);
    UpdateEmptyState();
}

void MattersPane::DayView(CalendarDate date, std::optional<int> groupId) {
    timeline_->Clear();
    TalEventList matters;
    if (ReadDay(store_, date, groupId, matters) != 0) {
        DebugLine("数据库获取失败");
        return;
    }
    AddSection(date, matters);
}

void MattersPane::UpcomingView() {
    timeline_->Clear();
    CalendarDate day = TodayDate();
    for (int k = 0; k < 3; ++k, day = NextDay(day)) {
        TalEventList matters;
        if (ReadDay(store_, day, std::nullopt, matters) != 0) {
            DebugLine("数据库获取失败");
            continue;
        }
        AddSection(day, matters);
    }
}

void MattersPane::AddSection(CalendarDate date, const TalEventList& matters) {
    std::vector<TimeItem> items = BirthdayItems(store_, date);
    if (matters.empty() && items.empty()) return;
    const bool today = date == TodayDate();
    std::vector<int> ids;
    for (const TalEvent& m : matters) ids.push_back(m.event_id);
    MatterStore ms(store_);
    std::map<int, EventAlarmList> reminders;
    std::map<int, EventCommentList> remarks;
    ms.RemindersOfMatters(ids, reminders);
    if (today) ms.RemarksOfMatters(ids, remarks);
    items.reserve(items.size() + matters.size());
    for (const TalEvent& m : matters) {
        TimeItem item;
        item.event_id = m.event_id;
        item.time = TimeSpanText(m, date);
        item.text = ShownText(m.description);
        item.reminder = reminders.count(m.event_id) != 0;
        const EventCommentList& own = remarks[m.event_id];
        for (std::size_t i = 0; i < own.size() && i < 2; ++i) {
            const CalendarDate made = DateOf(own[i].create_time);
            item.remarks.push_back(QStringLiteral("%1(%2-%3)")
                                       .arg(ShownText(own[i].c_content))
                                       .arg(made.month, 2, 10, QLatin1Char('0'))
                                       .arg(made.day, 2, 10, QLatin1Char('0')));
        }
        items.push_back(std::move(item));
    }
    timeline_->AddSection(date, std::move(items));
}

void MattersPane::UpdateEmptyState() {
    const bool empty = timeline_->SectionCount() == 0;
    timeline_->setVisible(!empty);
    if (QWidget* placeholder = part_.Find(matters_pane::kMattersEmpty)) placeholder->setVisible(empty);
}

// --- Days ---

void MattersPane::QuickDay(int k) {
    CalendarDate target = TodayDate();
    for (int i = 0; i < k; ++i) target = NextDay(target);
    calendar_->SelectIfShown(target);
    Refresh();
    home_.ShowMattersPage();
}

void MattersPane::DatePicked(CalendarDate date) {
    if (groups_) groupList_->FinishOpenEdits();
    // Refresh ends in the view the picked date calls for: the upcoming view for today
    // on row 0, the day view otherwise.
    Refresh();
    home_.ShowMattersPage();
    (void)date;
}

// --- Notifications and messages ---

bool MattersPane::OnNotify(const QString& type, QWidget* sender) {
    const QString name = sender ? sender->objectName() : QString();
    if (type == u"itemselect" && name == matters_pane::kGroupList) {
        OnGroupSelected();
        return true;
    }
    if (groups_ && groupList_->Notify(type, sender)) return true;
    if (type != u"click") return false;
    if (name == calendar::kDayButton) {
        if (calendar_) calendar_->OnDayClick(sender);
    } else if (name == matters_pane::kPreviousMonth) {
        if (calendar_) calendar_->PreviousMonth();
    } else if (name == matters_pane::kNextMonth) {
        if (calendar_) calendar_->NextMonth();
    } else if (name == matters_pane::kAddMatterFirst) {
        home_.PostMessage(WM_UI_ADD_MATTER_FIRST);
    } else if (name == home_page::kAddEvent) {
        NewMatter();
    } else {
        for (int k = 0; k < 4; ++k) {
            if (name == kQuickDayButtons[k]) {
                QuickDay(k);
                return true;
            }
        }
        return false;
    }
    return true;
}

bool MattersPane::OnMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam) {
    switch (number) {
        case WM_UI_CALENDAR_PICK: DatePicked(CalendarDate::Unpack(wParam)); return true;
        case WM_UI_MATTER_DETAILS: OpenMatter(static_cast<int>(wParam), false); return true;
        case WM_UI_MATTER_ADD_REMARK: OpenMatter(static_cast<int>(wParam), true); return true;
        case WM_UI_ADD_MATTER_FIRST: NewMatter(); return true;
        default: return groups_ && groupList_->HandleMessage(number, wParam, lParam);
    }
}

// --- Editor ---

void MattersPane::OpenMatter(int eventId, bool addRemark) {
    if (editor_) return;
    TalEvent matter;
    if (MatterStore(store_).MatterById(eventId, matter) != 0 || matter.event_id != eventId) return;
    auto* editor = new CAddMatterDlg(store_, matter, 0, addRemark ? MatterPage::AddRemark : MatterPage::Details);
    const EditorWatch watch = WatchEditor(eventId);
    if (!BeginEditor(editor)) return;
    EndEditor();
    OfferUndoAfterEditor(watch);
}

void MattersPane::NewMatter() {
    if (editor_) return;
    auto* editor = new CAddMatterDlg(store_, TalEvent{}, SelectedGroupTag(), MatterPage::NewMatter);
    if (!BeginEditor(editor)) return;
    EndEditor();
    home_.ShowMattersPage();
    RefreshCalendar();
}

bool MattersPane::BeginEditor(CAddMatterDlg* editor) {
    editor_ = editor;
    editor->SetWorkerLink(home_.Worker());
    editor->SetMainWindow(home_.GetHandle());
    if (!editor->Create(&home_, QStringLiteral("事项"))) {
        editor->deleteLater();
        editor_ = nullptr;
        return false;
    }
    if (CMaskDlg* mask = home_.Mask()) mask->CoverOwner();
    editor->CenterWindow();
    editor->ShowModal();
    return true;
}

void MattersPane::EndEditor() {
    if (CMaskDlg* mask = home_.Mask()) mask->ShowWindow(false);
    if (WorkerLink* link = home_.Worker()) link->SetResultWindow(home_.GetHandle());
    editor_ = nullptr;
    Refresh();
}

void MattersPane::PostSync() { home_.SyncAfterEdit(); }

int MattersPane::SelectedGroupTag() const { return groups_ ? groupList_->SelectedTag(0) : 0; }

}  // namespace kivtal
