#pragma once
// The main window: the title area (user name, version, news counter, sync button and
// the small buttons), the advertisement, and one page area shared by the contacts page
// and the matters page, which slide into each other. It ends the program (through a
// logout) or only hides into the tray, and owns the tray icon.
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

#include "net/WorkerRequest.h"
#include "store/LocalStore.h"
#include "ui/main/AdRotation.h"
#include "ui/main/PageSlide.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class CContactsPane;
class CMaskDlg;
class MattersPane;
class CSysTray;
class TwinsNotice;
class UndoNotice;
class BirthdayNotifier;
class WorkerLink;

inline const QString kHomeTitle = QStringLiteral("Kivtal v1.0");
inline constexpr std::uintptr_t kAdTimerId = 132;
inline constexpr std::uintptr_t kSlideTimerId = 133;
inline constexpr int kAdIntervalMs = 5000;

// What the panes and windows that are not part of the frame do when the frame asks.
// Empty members do nothing.
// Shown when a sync run reached the service but could not store its answer.
inline constexpr const char* kSyncNotStoredText = "同步未完成：本机数据库未能保存同步数据，下次同步时会自动重试。";
inline constexpr const char* kSyncRefusedText =
    "同步未完成：服务器拒收了部分本地修改，这些修改已另行保存且不再上传，其余修改已同步。";

struct HomeHooks {
    std::function<void()> refreshContacts;  // group lists, contact list
    std::function<void()> refreshMatters;   // matter groups, timeline
    std::function<void()> refreshCalendar;
    std::function<void()> resetTimelineToToday;
    std::function<void()> refreshMatterEditor;  // its remarks and reminders, when one is open
    std::function<void()> startCardCapture;
};

class CHomePage : public WindowImplBase {
    Q_OBJECT

public:
    using UrlOpener = std::function<void(const QUrl&)>;

    CHomePage();
    explicit CHomePage(LocalStore& store);
    ~CHomePage() override;

    QString GetSkinFile() const override { return QStringLiteral("HomePage.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELBaseWindow"); }

    // Set by "menu_regist": the start-up routine starts the program again, without
    // automatic login, once this window has closed. Read it right after ShowModal.
    bool restartRequested() const { return restart_; }

    // Seams: the worker requests go to link (default: the process's link), pages open
    // through opener (default: the desktop's browser).
    void SetWorkerLink(WorkerLink* link) { worker_ = link; }
    void SetUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }
    void SetHooks(HomeHooks hooks) { hooks_ = std::move(hooks); }
    void SetWebSite(QString address) { webSite_ = std::move(address); }
    // Whether the desktop shows tray icons now; a test seam, since a headless desktop
    // has no tray. Asked whenever the window closes.
    void SetTrayProbe(std::function<bool()> probe) { trayProbe_ = std::move(probe); }

    // True while a group name is edited in either pane. A sync result that arrives
    // meanwhile waits until the edit ends, so the edit is not rebuilt away under the user.
    bool GroupNameEdited() const;
    // A group-name edit has ended: a sync result that waited is taken now.
    void OnGroupEditEnded();

    int ColumnMask() const;
    bool MattersPageShown() const { return mattersShown_; }
    bool SlideRunning() const { return slide_.Running(); }
    bool SyncBusy() const { return busy_; }
    CMaskDlg* Mask() const;
    CSysTray* Tray() const { return tray_; }
    BirthdayNotifier* BirthdayReminders() const { return birthdayNotifier_; }
    MattersPane* Matters() const { return matters_.get(); }
    // The worker link in use: the one set, else the process's.
    WorkerLink* Worker() const;

    CContactsPane& Contacts() const { return *contacts_; }
    // The "已删除 …  撤销" notice the panes offer after a delete.
    UndoNotice& Undo() const { return *undo_; }
    TwinsNotice& Twins() const { return *twins_; }

    // Seam to the contact editor, which runs modally (see ContactEditorOpener).
    void SetContactEditorOpener(std::function<void(int contactId, int defaultGroupId, int page)> opener);

    void ShowContactsPage();
    void ShowMattersPage();
    // Every pane rereads the store: after a change that shows in both.
    void RefreshPanes();
    // An edit was stored here: it goes up at once, unless the user works offline.
    void SyncAfterEdit();
    // Opens the news window over the mask; returns when it has closed.
    void OpenNews();
    // The contact editor for a new contact on its card scanner ("startSEC"), over the mask.
    void StartCardCapture();
    // The own profile editor ("menu_usermsg"), over the mask.
    void OpenProfileEditor();

protected:
    void InitWindow() override;
    void Notify(const QString& type, QWidget* sender) override;
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    void OnFinalMessage() override;
    void OnSystemClose() override { OnCloseButton(); }
    int CaptionHeight() const override { return 64; }

private:
    // Initialisation and the frame's displays.
    void Initialise();
    void RefreshCalendar();
    void ShowUserName();
    void ShowUnreadNews();
    void EnterBusy();
    void LeaveBusy();
    void OnSyncResult(int result);
    void OnCardUploadResult(int result, int imgId);

    // Advertisements.
    void LoadAds();
    void ShowAd(int index, bool first);
    void ShowNextAd();
    void OnAdClick(QWidget* advert);

    // Pages.
    void SwitchPage(bool toMatters);
    void OnSlideTick(bool toTheEnd = false);
    void StyleTabs(bool mattersFocused);

    // Tray, menu and ending.
    void OnTray(std::intptr_t mouseMessage);
    void OnMenuItem(const QString& item, std::intptr_t lParam);
    bool DesktopHasTray() const;
    void OnCloseButton();

    bool OnFrameClick(const QString& name, QWidget* sender);
    void Post(WorkerRequest request);
    void Open(const QString& address);
    void SetVisibleControl(const char* name, bool visible);

    LocalStore& store_;
    WorkerLink* worker_ = nullptr;
    UrlOpener openUrl_;
    HomeHooks hooks_;
    QString webSite_;

    bool restart_ = false;
    bool toMatters_ = false;     // the direction of the slide running or last run
    bool mattersShown_ = false;  // the page state
    bool busy_ = false;
    bool syncSkipped_ = false;  // a sync result arrived while a group name was edited
    QPointer<CMaskDlg> mask_;
    AdRotation ads_;
    CSysTray* tray_ = nullptr;
    BirthdayNotifier* birthdayNotifier_ = nullptr;  // a child of the window, from its first initialisation
    CContactsPane* contacts_;                       // a child object of this window
    UndoNotice* undo_;                              // a child widget of this window
    TwinsNotice* twins_;                            // a child widget of this window
    std::function<bool()> trayProbe_;
    PageSlide slide_;
    std::unique_ptr<MattersPane> matters_;  // made with the layout
};

}  // namespace kivtal
