#pragma once
// The main window: the title area (user name, version, news counter, sync button and
// the small buttons), the advertisement, and one page area shared by the contacts page
// and the matters page, which slide into each other. It ends the program (through a
// logout) or only hides into the tray, and owns the tray icon.
#include <QUrl>
#include <functional>
#include <optional>

#include "net/WorkerRequest.h"
#include "store/LocalStore.h"
#include "ui/main/AdRotation.h"
#include "ui/main/PageSlide.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

class CMaskDlg;
class CSysTray;
class WorkerLink;

inline const QString kHomeTitle = QStringLiteral("Kivtal v1.0");
inline constexpr std::uintptr_t kAdTimerId = 132;
inline constexpr std::uintptr_t kSlideTimerId = 133;
inline constexpr int kAdIntervalMs = 5000;

// What the panes and windows that are not part of the frame do when the frame asks.
// Empty members do nothing.
struct HomeHooks {
    std::function<void()> refreshContacts;  // group lists, contact list
    std::function<void()> refreshMatters;   // matter groups, timeline
    std::function<void()> refreshCalendar;
    std::function<void()> resetTimelineToToday;
    std::function<void()> refreshMatterEditor;  // its remarks and reminders, when one is open
    std::function<void()> startCardCapture;
    std::function<void()> openNews;
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

    // The group row whose name is being edited, -1 for none. A sync result that arrives
    // meanwhile is ignored, so the edit is not rebuilt away under the user.
    int EditingRow() const { return editingRow_; }
    void SetEditingRow(int row) { editingRow_ = row; }

    int ColumnMask() const { return columnMask_; }
    bool MattersPageShown() const { return mattersShown_; }
    bool SlideRunning() const { return slide_.Running(); }
    bool SyncBusy() const { return busy_; }
    CMaskDlg* Mask() const;
    CSysTray* Tray() const { return tray_; }

    void ShowContactsPage();
    void ShowMattersPage();

protected:
    void Notify(const QString& type, QWidget* sender) override;
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override;
    void OnFinalMessage() override;
    void OnSystemClose() override { OnCloseButton(); }
    void InitWindow() override;
    int CaptionHeight() const override { return 64; }

private:
    // Initialisation and the frame's displays.
    void Initialise();
    void RefreshPanes();
    void RefreshCalendar();
    void ShowUserName();
    void ShowUnreadNews();
    void EnterBusy();
    void LeaveBusy();
    void OnSyncResult();

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
    void OnMenuItem(const QString& item);
    bool DesktopHasTray() const;
    void OnCloseButton();

    bool OnFrameClick(const QString& name, QWidget* sender);
    WorkerLink* Worker() const;
    void Post(WorkerRequest request);
    void Open(const QString& address);
    void SetVisibleControl(const char* name, bool visible);

    LocalStore& store_;
    WorkerLink* worker_ = nullptr;
    UrlOpener openUrl_;
    HomeHooks hooks_;
    QString webSite_;

    int columnMask_ = 6;
    int editingRow_ = -1;
    bool restart_ = false;
    bool toMatters_ = false;     // the direction of the slide running or last run
    bool mattersShown_ = false;  // the page state
    bool busy_ = false;
    QPointer<CMaskDlg> mask_;
    AdRotation ads_;
    CSysTray* tray_ = nullptr;
    std::function<bool()> trayProbe_;
    PageSlide slide_;
};

}  // namespace kivtal
