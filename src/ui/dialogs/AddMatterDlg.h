#pragma once
// The matter editor: one matter with its description, dates, group and pin, its remarks
// and its reminders. Remarks go up with the normal sync; reminders cost coins and are
// committed through the worker at once, after a sync has given the matter its server
// id. The editor waits for each answer behind the busy notice.
#include <optional>

#include "model/Records.h"
#include "net/WorkerRequest.h"
#include "store/LocalStore.h"
#include "ui/toolkit/WindowImplBase.h"

class QTreeWidget;
class QDateEdit;

namespace kivtal {

class RecordClashes;
class ComboKiv;
class WorkerLink;

enum class MatterPage { Details, NewMatter, AddRemark };

// Page modes.
enum MatterMode : int {
    kModeDetails = 0,
    kModeNewMatter = 1,
    kModeEditMatter = 2,
    kModeAddRemark = 3,
    kModeEditRemark = 4,
    kModeAddReminder = 5,
    kModeEditReminder = 6,
};

// Pending operations while the worker answers.
enum MatterPending : int {
    kPendingDeleteMatter = 2,
    kPendingReminderAdd = 3,
    kPendingReminderChange = 5,
    kPendingClockDescription = 6,
    kPendingClockPage = 7,
    kPendingReminderDelete = 8,
    kPendingNone = 9,
};

// The questions before a delete: a matter goes to the trash, a remark's delete is
// offered for undo in the main window once the editor closes.
inline const QString kMatterDeleteText = QStringLiteral("删除后可在事项的回收站中找回，保留30天。");
inline const QString kRemarkDeleteText = QStringLiteral("关闭本窗口后，可在主窗口撤销删除。");

inline constexpr int kServerTimeAhead = 3;
inline constexpr int kServerTimePassed = 2;

// Stored seconds of a Beijing date at hour:minute:second; empty when the time does not
// fit in the stored 32 bits.
std::optional<int> MatterTime(int year, int month, int day, int hour, int minute, int second);

// The controls of one of the two reminder forms: the edit page's description reminder
// and the reminder page.
struct ReminderForm {
    const char* date;
    const char* hour;
    const char* minute;
    const char* myself;
    const char* others;
    const char* picker;
};
inline constexpr ReminderForm kDescriptionForm{"editpage_remind_time",   "editpage_remind_combo", "editpage_min_combo",
                                               "editpage_remind_me_btn", "remind_other_btn",      "select_combo"};
inline constexpr ReminderForm kPageForm{"matter_time_remind", "add_remind_combo",         "add_min_combo",
                                        "add_remind_me_btn",  "remark_matter_user_combo", "matter_user_combo"};

class CAddMatterDlg : public WindowImplBase {
    Q_OBJECT

public:
    CAddMatterDlg(LocalStore& store, TalEvent matter, int presetGroup, MatterPage start);

    QString GetSkinFile() const override { return QStringLiteral("AddMatter.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELAddMatterWindow"); }

    void SetWorkerLink(WorkerLink* link) { worker_ = link; }
    // The window that gets the worker's results back when the editor is done with them.
    void SetMainWindow(WindowHandle window) { mainWindow_ = window; }

    // A sync ran meanwhile: reread the matter; one deleted on the service closes the
    // editor with a message.
    void ReloadAfterSync();

    int Mode() const { return mode_; }
    int Pending() const { return pending_; }
    const TalEvent& Matter() const { return matter_; }
    const EventCommentList& Remarks() const { return remarks_; }
    const EventAlarmList& Reminders() const { return reminders_; }
    // The matter's open clashes with another device's edits; nullptr for a new matter.
    RecordClashes* Clashes() const { return clashes_; }

protected:
    std::vector<QString> EnterButtons() const override;
    std::vector<QString> EscapeButtons() const override;
    bool OpensOnFirstField() const override { return true; }
    void InitWindow() override;
    void Notify(const QString& type, QWidget* sender) override;
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;

private:
    // Pages.
    void ShowPage(int mode);
    void FillDetails();
    void FillEditPage();
    void FillRemarkPage(const EventComment* remark);
    void FillReminderPage(const EventAlarm* reminder);
    void FillLists();
    // The contact pickers are filled when a page that shows them opens first, so the
    // details page never reads the contacts; later calls refill them.
    void FillPickers();
    // The form shows the reminder, or for none: nobody chosen and the time five
    // minutes from now.
    void ShowReminderForm(const ReminderForm& form, const EventAlarm* reminder);
    void Reload();
    QString RecipientNames(const EventAlarm& reminder) const;
    void ToggleShown(const char* toggle, const char* shown, bool clearPicker);

    // Clashes (AddMatterDlgClashes.cpp).
    void ShowClashes();

    // Matter.
    void SaveMatter();
    bool ValidateEditPage();
    void WriteMatter();
    // `base` with the edit page's values in place; nullopt when a date cannot be stored.
    std::optional<TalEvent> MatterOfForm(TalEvent base) const;
    void DeleteMatter();
    void OnSyncResult(int code);
    void OnDeleteResult(int code);

    // Reminders.
    std::optional<EventAlarm> StoredDescriptionReminder() const;
    std::optional<EventAlarm> StoredReminder(int alarmId) const;
    EventAlarm BuildDescriptionReminder() const;
    EventAlarm BuildPageReminder() const;
    void FillRecipients(EventAlarm& reminder, const ReminderForm& form) const;
    static bool SameReminder(const EventAlarm& a, const EventAlarm& b);
    bool DescriptionReminderChanged() const;
    bool PageReminderChanged() const;
    bool ValidateReminderPage();
    void SaveReminderPage();
    void Commit(bool description);
    void OnServerTime(int code);
    void OnCommitResult(bool add, int code);
    void DeleteReminder(int alarmId);

    // Remarks.
    void SaveRemark();
    void DeleteRemark(int commentId);

    // Worker.
    bool Offline() const;
    void Request(WorkerRequest request);
    void RequestSync();
    void WaitForWorker();
    void DoneWithWorker();
    void Tell(const QString& text, const QString& title = {});
    bool Ask(const QString& text, const QString& title = {}, int titleStyle = 0);

    LocalStore& store_;
    WorkerLink* worker_ = nullptr;
    WindowHandle mainWindow_ = 0;
    TalEvent matter_;
    // The matter as the edit page showed it when it was filled (read back from the
    // page): a save writes only what differs from it, so a sync since keeps its changes.
    TalEvent shown_;
    EventCommentList remarks_;
    EventAlarmList reminders_;
    int presetGroup_;
    MatterPage start_;
    int mode_ = kModeDetails;
    int pending_ = kPendingNone;
    bool clockVerified_ = false;
    bool alreadySent_ = false;
    bool returnToDetails_ = true;
    int remarkTag_ = 0;
    int reminderTag_ = 0;
    bool pickersFilled_ = false;
    RecordClashes* clashes_ = nullptr;
};

}  // namespace kivtal
