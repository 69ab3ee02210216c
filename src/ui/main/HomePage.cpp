#include "ui/main/HomePage.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <algorithm>
#include <QLabel>

#include "net/LoginUser.h"
#include "net/ServiceConfig.h"
#include "store/AccountStore.h"
#include "store/ContentStore.h"
#include "model/Diagnostics.h"
#include "ui/controls/EditorPickers.h"
#include "ui/dialogs/SystemMsgWnd.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/UserInforEditWnd.h"
#include "ui/main/BirthdayNotifier.h"
#include "ui/main/ContactsPane.h"
#include "ui/main/MattersPane.h"
#include "ui/main/SetAsideNotice.h"
#include "ui/main/HomePageControls.h"
#include "ui/main/SysTray.h"
#include "ui/main/TwinsNotice.h"
#include "ui/main/UndoNotice.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/ControlAttributes.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"  // MaskDlg.h holds a QPointer to it
#include "ui/toolkit/MenuItems.h"
#include "ui/toolkit/SkinValues.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WorkerLink.h"

namespace kivtal {
namespace {

const QString kVersionText = QStringLiteral("正式版本 1.0");
const QString kSyncIdleImage = QStringLiteral("file='synch_ico_nor.png' dest='17,8,39,30'");
constexpr int kMaxShownNews = 99;

}  // namespace

CHomePage::CHomePage() : CHomePage(LocalStore::Instance()) {}

CHomePage::CHomePage(LocalStore& store)
    : store_(store),
      openUrl_([](const QUrl& url) { QDesktopServices::openUrl(url); }),
      webSite_(QString::fromStdString(ServiceConfig::FromEnvironment().webUrl)),
      tray_(new CSysTray(*this)),
      contacts_(new CContactsPane(*this, store_)),
      undo_(new UndoNotice(this)),
      twins_(new TwinsNotice(this, store_)) {
    // A restore is an edit like any other: it goes up at once and shows everywhere.
    const auto sendAndRefresh = [this] {
        SyncAfterEdit();
        RefreshPanes();
    };
    undo_->SetAfterUndo(sendAndRefresh);
    // A merge of twins too; it is undone like a delete.
    twins_->SetAfterMerge([this, sendAndRefresh](const MergeUndo& merged, int count) {
        undo_->Offer(QStringLiteral("%1 个重复联系人").arg(count),
                     [this, merged] { return MergeStore(store_).Undo(merged) == 0; });
        sendAndRefresh();
    });
    contacts_->SetContactEditorOpener([this](int contactId, int defaultGroupId, int page) {
        CAddConnectionDlg::Run(this, contactId, defaultGroupId, page);
        // Relation pickers offer the book's names: a saved contact is one more.
        SelectCombo::ResetNames();
    });
}

CHomePage::~CHomePage() = default;

CMaskDlg* CHomePage::Mask() const { return mask_.data(); }

int CHomePage::ColumnMask() const { return contacts_->ColumnMask(); }

bool CHomePage::GroupNameEdited() const {
    return contacts_->EditingRow() != -1 || (matters_ && matters_->EditingRow() != -1);
}

void CHomePage::SetContactEditorOpener(std::function<void(int, int, int)> opener) {
    contacts_->SetContactEditorOpener(std::move(opener));
}

void CHomePage::Notify(const QString& type, QWidget* sender) {
    if (type == u"windowinit") {
        PostMessage(WM_UI_HOME_INIT);
        return;
    }
    if (type == u"click" && ControlName(sender) == home_page::kAddEvent) StyleTabs(true);
    if (type == u"click" && ControlName(sender) == home_page::kAddConnection) StyleTabs(false);
    if (matters_ && matters_->OnNotify(type, sender)) return;
    if (contacts_->Notify(type, sender)) return;
    if (type == u"click") OnFrameClick(ControlName(sender), sender);
}

bool CHomePage::OnFrameClick(const QString& name, QWidget* sender) {
    if (name == home_page::kBtnMin) showMinimized();
    else if (name == home_page::kBtnClose) OnCloseButton();
    else if (name == home_page::kLogo) Post(WorkerRequest::Plain(WM_REQ_OPEN_HOME));
    else if (name == home_page::kFeedback) Post(WorkerRequest::Plain(WM_REQ_OPEN_ABOUT));
    else if (name == home_page::kBtnSync) {
        EnterBusy();
        Post(WorkerRequest::Sync(SYNC_BY_USER));
    } else if (name == home_page::kAdvert) OnAdClick(sender);
    else if (name == home_page::kMsgTip) OpenNews();
    else if (name == home_page::kSetAsideRetry || name == home_page::kSetAsideDiscard) {
        if (OnSetAsideAction(*this, store_, name == home_page::kSetAsideRetry)) RefreshPanes();
    } else if (name == home_page::kStartSEC) StartCardCapture();
    else if (name == home_page::kMyConnect || name == home_page::kDoorRightButton) ShowContactsPage();
    else if (name == home_page::kDoorLeftButton) ShowMattersPage();
    else if (name == home_page::kWaitPlanLabel) {
        if (mattersShown_) {
            ShowContactsPage();
        } else {
            ShowMattersPage();
            if (hooks_.resetTimelineToToday) hooks_.resetTimelineToToday();
            else if (matters_) matters_->ShowUpcoming();
        }
    } else return false;
    return true;
}

std::intptr_t CHomePage::HandleCustomMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam,
                                             bool& handled) {
    handled = true;
    if (contacts_->HandleMessage(number, wParam, lParam)) return 0;
    switch (number) {
        case WM_UI_HOME_INIT:
            Initialise();
            DebugLine("开始初始化系统托盘");
            tray_->Setup();
            if (!birthdayNotifier_) {
                birthdayNotifier_ = new BirthdayNotifier(store_, *this, tray_->Icon());
                birthdayNotifier_->Start();
            }
            DebugLine("初始化中...");
            break;
        case WM_RES_SYNC: OnSyncResult(static_cast<int>(wParam)); break;
        case WM_RES_SECRETARY_UPLOAD: OnCardUploadResult(static_cast<int>(wParam), static_cast<int>(lParam)); break;
        case WM_RES_LOGOUT:
            // Whatever the logout's outcome: an offline or failed logout still ends.
            Close(1);
            break;
        case WM_UI_NEWS_READ: ShowUnreadNews(); break;
        case WM_UI_TRAY: OnTray(lParam); break;
        case WM_UI_MENU_ITEM: OnMenuItem(MenuItemName(wParam), lParam); break;
        case WM_TIMER:
            if (static_cast<std::uintptr_t>(wParam) == kAdTimerId) ShowNextAd();
            else if (static_cast<std::uintptr_t>(wParam) == kSlideTimerId) OnSlideTick();
            else handled = false;
            break;
        default: handled = matters_ && matters_->OnMessage(number, wParam, lParam);
    }
    return 0;
}

void CHomePage::Initialise() {
    if (WorkerLink* link = Worker()) link->SetResultWindow(GetHandle());
    RefreshPanes();
    ShowSetAside(*this, store_);
    LoadAds();
    LeaveBusy();
    SetControlText(FindControl(home_page::kNumberShow), kVersionText);
    // Once: a second initialisation must not leave a second mask behind the first.
    if (!mask_) {
        mask_ = CreateMask(this);
        if (mask_) mask_->ShowWindow(false);
    }
    ShowUnreadNews();
    if (QWidget* tip = FindControl(home_page::kMsgTip)) tip->setEnabled(true);
    RefreshCalendar();
}

void CHomePage::RefreshCalendar() {
    if (hooks_.refreshCalendar) {
        hooks_.refreshCalendar();
        return;
    }
    if (matters_) matters_->RefreshCalendar();
}

void CHomePage::RefreshPanes() {
    contacts_->Refresh();
    if (hooks_.refreshContacts) hooks_.refreshContacts();
    if (hooks_.refreshMatters) hooks_.refreshMatters();
    else if (matters_) matters_->Refresh();
    ShowUserName();
}

void CHomePage::ShowUserName() {
    UserInfo profile;
    AccountStore(store_).ReadProfile(profile);
    QString name = QString::fromStdString(profile.username);
    if (name.isEmpty()) name = QString::fromStdString(LoginUser::Instance().snapshot().login_name);
    QWidget* label = FindControl(home_page::kUserName);
    SetControlText(label, name);
    if (label) label->setToolTip(name);
}

void CHomePage::ShowUnreadNews() {
    auto* tip = FindControl<QAbstractButton>(home_page::kMsgTip);
    if (!tip) return;
    int count = 0;
    if (ContentStore(store_).UnreadNewsCount(count) != 0) count = 0;
    count = std::clamp(count, 0, kMaxShownNews);
    tip->setText(count == 0 ? QString() : QString::number(count));
    // The image follows the count both ways: news can arrive after all was read.
    const QString image = count == 0 ? QStringLiteral("message_tip_disable.png") : QStringLiteral("message_tip.png");
    tip->setIcon(QIcon(SkinImagePath(image)));
    tip->setProperty("unread", count != 0);
    tip->setAccessibleName(count == 0 ? QStringLiteral("系统消息") : QStringLiteral("系统消息，%1条未读").arg(count));
}

void CHomePage::EnterBusy() {
    SetControlAttribute(FindControl(home_page::kBtnSync), QStringLiteral("foreimage"), QString());
    EnterSyncBusy(mask_, busy_);
}

void CHomePage::LeaveBusy() {
    SetControlAttribute(FindControl(home_page::kBtnSync), QStringLiteral("foreimage"), kSyncIdleImage);
    LeaveSyncBusy(mask_, busy_);
}

void CHomePage::OnSyncResult(int result) {
    if (GroupNameEdited()) {
        // Rebuilding now would take the edit away under the user; the result is taken
        // when the edit ends, so the counts do not stay stale.
        syncSkipped_ = true;
        return;
    }
    syncSkipped_ = false;
    LeaveBusy();
    // The service was reached, so the network message would mislead; and the changes
    // it sent are not in the lists yet, so silence would too.
    if (result == kResultNotStored) ShowTalMsgBox(QString(), nullptr, kSyncNotStoredText);
    ShowSetAside(*this, store_);
    twins_->CheckAfterSync();
    // The others went up, so the run looks done; the refused changes would go unseen.
    if (result == kResultUploadRefused) ShowTalMsgBox(QString(), nullptr, kSyncRefusedText);
    RefreshCalendar();
    if (!mattersShown_) RefreshPanes();
    else if (hooks_.refreshMatters) hooks_.refreshMatters();
    else if (matters_) matters_->Refresh();
    if (hooks_.refreshMatterEditor) hooks_.refreshMatterEditor();
    else if (matters_) matters_->RefreshEditor();
}

void CHomePage::OnGroupEditEnded() {
    if (syncSkipped_) PostMessage(WM_RES_SYNC, 0);
}

void CHomePage::StartCardCapture() {
    if (hooks_.startCardCapture) {
        hooks_.startCardCapture();
        return;
    }
    {
        MaskCover cover(mask_);
        CAddConnectionDlg::RunScanner(this);
    }
    RefreshPanes();
}

void CHomePage::OpenProfileEditor() {
    {
        MaskCover cover(mask_);
        CUserInforEditWnd::Run(this);
    }
    ShowUserName();
}

void CHomePage::OpenNews() {
    if (mask_) mask_->CoverOwner();
    auto* news = new CSystemMsgWnd(store_, GetHandle());
    if (news->Create(mask_ ? static_cast<QWidget*>(mask_.data()) : this, QStringLiteral("系统消息"))) {
        news->CenterWindow();
        news->ShowModal();
    } else {
        delete news;
    }
    if (mask_) mask_->ShowWindow(false);
}

void CHomePage::SyncAfterEdit() {
    if (LoginUser::Instance().snapshot().login_mode != LoginUserState::kModeOffline)
        Post(WorkerRequest::Sync(SYNC_BY_OPER_EFFECT));
}

WorkerLink* CHomePage::Worker() const { return worker_ ? worker_ : AppWorker(); }

void CHomePage::Post(WorkerRequest request) {
    if (WorkerLink* link = Worker()) link->Post(std::move(request));
}

void CHomePage::Open(const QString& address) {
    if (openUrl_ && !address.isEmpty()) openUrl_(QUrl(address));
}

void CHomePage::SetVisibleControl(const char* name, bool visible) {
    if (QWidget* control = FindControl(name)) control->setVisible(visible);
}

}  // namespace kivtal
