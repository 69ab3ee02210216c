#pragma once
// The matters page of the main window: the matter group list, the month calendar, the
// four quick-day buttons and the timeline of one day or of the next three days, and
// the opening of the matter editor. It lives inside CHomePage, which hands it its part
// of the layout (PanePart) and the notifications and messages of its controls.
#include <QPointer>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/Records.h"
#include "store/LocalStore.h"
#include "ui/controls/CalendarDate.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/main/PanePart.h"

class QListWidget;
class QWidget;

namespace kivtal {

class CCalendarUI;
class CHomePage;
class CTimeBase;
class GroupBook;
class GroupList;
class TrashView;

inline const QString kDefaultMatterGroup = QStringLiteral("默认");
inline constexpr int kMatterTrashTag = -3;  // 回收站, the group list's last row

class MattersPane {
public:
    // part: the pane's page, side and day column in the window's layout.
    MattersPane(CHomePage& home, LocalStore& store, PanePart part);
    ~MattersPane();

    // Group rows, calendar marks, the timeline of the selected row and date, and the
    // quick-day counts, all anew. Skipped while a group name is edited.
    void Refresh();
    void RefreshCalendar();
    // The editor open now, if any, rereads its matter (a sync may have changed it).
    void RefreshEditor();
    // Row 0 and the next three days, whatever date is selected.
    void ShowUpcoming();
    void NewMatter();

    // True when the pane handled it.
    bool OnNotify(const QString& type, QWidget* sender);
    bool OnMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam);

    const PanePart& Part() const { return part_; }
    CCalendarUI* Calendar() const { return calendar_; }
    CTimeBase* Timeline() const { return timeline_; }
    QListWidget* GroupList() const { return groups_; }
    CAddMatterDlg* Editor() const { return editor_.data(); }
    // The group row whose name is edited, -1 for none.
    int EditingRow() const;
    // The trash view, once 回收站 was chosen.
    TrashView* Trash() const;

private:
    // Timeline.
    void OnGroupSelected();
    void FillTimeline();
    void DayView(CalendarDate date, std::optional<int> groupId);
    void UpcomingView();
    void AddSection(CalendarDate date, const TalEventList& matters);
    void UpdateEmptyState();
    void RefreshQuickDays();

    // Days.
    void QuickDay(int k);
    void DatePicked(CalendarDate date);

    // Editor.
    void OpenMatter(int eventId, bool addRemark);
    bool BeginEditor(CAddMatterDlg* editor);
    void EndEditor();

    // Groups (MattersPaneGroups.cpp: the group list's store and look).
    void AttachGroups(QListWidget& list);
    int SelectedGroupTag() const;
    void PostSync();

    // The trash and undo (MattersPaneTrash.cpp).
    struct EditorWatch {
        TalEvent matter;           // as it was when the editor opened (event_id 0: new)
        std::vector<int> remarks;  // its live remarks then
    };
    void AddTrashRow();
    // Shows the trash in place of the timeline, or hides it; true when it shows.
    bool ShowTrash(bool shown);
    EditorWatch WatchEditor(int eventId);
    // The editor deleted the matter or some of its remarks: offers their undo.
    void OfferUndoAfterEditor(const EditorWatch& before);

    CHomePage& home_;
    LocalStore& store_;
    PanePart part_;
    CCalendarUI* calendar_ = nullptr;
    CTimeBase* timeline_ = nullptr;
    QListWidget* groups_ = nullptr;
    std::unique_ptr<GroupBook> groupBook_;
    kivtal::GroupList* groupList_ = nullptr;  // a child of groups_, made with it (the name alone is the getter)
    QPointer<CAddMatterDlg> editor_;
    QPointer<TrashView> trash_;
};

}  // namespace kivtal
