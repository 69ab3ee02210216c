#include "ui/editors/AddConnectionDlg.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPalette>
#include <QScrollArea>
#include <QTextEdit>

#include "model/Diagnostics.h"
#include "net/NetUtil.h"
#include "store/ContactStore.h"
#include "text/EditorChecks.h"
#include "ui/controls/AccessibleParts.h"
#include "ui/controls/ComboKiv.h"
#include "ui/controls/EditorPickers.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/editors/AddConnectionDlgControls.h"
#include "ui/editors/AreaPickers.h"
#include "ui/editors/BankRows.h"
#include "ui/editors/BirthdayPickers.h"
#include "ui/editors/EditorMessages.h"
#include "ui/editors/PickerFill.h"
#include "ui/editors/ReferencePickers.h"
#include "ui/editors/RowList.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/ControlAttributes.h"
#include "ui/toolkit/SkinLoader.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

// Posted to itself at "windowinit": the rest of the set-up runs once the window shows.
constexpr unsigned WM_UI_EDITOR_INIT = WM_UI_HOME_INIT;

struct PageNames {
    const char* tab;
    const char* layout;
    const char* skin;  // loaded into the layout the first time the page is needed
};
constexpr PageNames kPages[4] = {
    {add_connection::kBaseTab.name, add_connection::kBasePage.name, nullptr},
    {add_connection::kBusinessTab.name, add_connection::kBusinessPage.name, "AddConnectionBusiness.xml"},
    {add_connection::kLifeTab.name, add_connection::kLifePage.name, "AddConnectionLife.xml"},
    {add_connection::kRelationsTab.name, add_connection::kRelationsPage.name, "AddConnectionRelations.xml"}};

RowListSpec PlainList(const char* container, const char* add, const char* del, const char* label,
                      const char* defaultText) {
    return RowListSpec{QString::fromLatin1(container),
                       QString::fromLatin1(add),
                       QString::fromLatin1(del),
                       QString::fromUtf8(label),
                       {FieldSpec{QStringLiteral("list_edit"), QString::fromUtf8(defaultText), 20, false}},
                       1,
                       QString()};
}

RowListSpec MainBusinessList() {
    RowListSpec main =
        PlainList(add_connection_business::kMainBusiness.name, add_connection_business::kAddMainBusiness.name,
                  "delete_main_business", "主营业务", "联系人主营业务");
    main.entriesPerLine = 2;
    // Shown in grey like every default text, so an untouched new entry is not stored.
    main.addedDefault = QStringLiteral("请输入主营业务");
    return main;
}

std::vector<RowListSpec> LifeLists() {
    namespace life = add_connection_life;
    return {PlainList(life::kHobbies.name, life::kAddHobby.name, "delete_intration", "兴趣爱好", "联系人兴趣爱好"),
            PlainList(life::kBeliefs.name, life::kAddBelief.name, "delete_belief", "信 仰", "联系人个人信仰"),
            PlainList(life::kHabits.name, life::kAddHabit.name, "delete_Habits", "生活习惯", "生活习惯"),
            PlainList(life::kFoods.name, life::kAddFood.name, "delete_food_like", "食物偏好", "食物偏好")};
}

RowListSpec RelationList() {
    return RowListSpec{add_connection_relations::kRelations,
                       add_connection_relations::kAddRelation,
                       QStringLiteral("delete_relevance"),
                       QStringLiteral("关联人脉"),
                       {FieldSpec{QStringLiteral("edt_user"), QStringLiteral("请选择联系人"), 50, true},
                        FieldSpec{QStringLiteral("edt_relation"), QStringLiteral("两者关系"), 10, false}},
                       1,
                       QString()};
}

}  // namespace

CAddConnectionDlg::CAddConnectionDlg(LocalStore& store, BusinessCard card, int defaultGroupId, bool editing)
    : store_(store), card_(std::move(card)), defaultGroupId_(defaultGroupId), editing_(editing) {}

CAddConnectionDlg::~CAddConnectionDlg() = default;

CAddConnectionDlg* CAddConnectionDlg::Open(LocalStore& store, QWidget* owner, int contactId, int defaultGroupId,
                                           bool scanner) {
    BusinessCard card;
    const bool editing = contactId > 0;
    if (editing && ContactStore(store).ContactById(contactId, card) != 0) {
        ShowTalMsgBox({}, owner, QStringLiteral("该人脉已不存在，可能已在其他设备上删除"));
        return nullptr;
    }
    auto* dlg = new CAddConnectionDlg(store, std::move(card), defaultGroupId, editing);
    dlg->startOnScanner_ = scanner;
    if (!dlg->Create(owner, editing ? QStringLiteral("个人资料修改") : QStringLiteral("添加人脉"))) {
        dlg->deleteLater();
        return nullptr;
    }
    dlg->CenterWindow();
    return dlg;
}

int CAddConnectionDlg::Run(QWidget* owner, int contactId, int defaultGroupId, int page) {
    CAddConnectionDlg* dlg = Open(LocalStore::Instance(), owner, contactId, defaultGroupId);
    if (!dlg) return 0;
    dlg->OpenPage(page);
    return dlg->ShowModal();
}

int CAddConnectionDlg::RunScanner(QWidget* owner) {
    CAddConnectionDlg* dlg = Open(LocalStore::Instance(), owner, 0, 0, true);
    return dlg ? dlg->ShowModal() : 0;
}

void CAddConnectionDlg::InitWindow() {
    area_ = std::make_unique<AreaPickers>(store_, FindControl<ComboKiv>(add_connection::kCountryCombo),
                                          FindControl<ComboKiv>(add_connection::kProvinceCombo),
                                          FindControl<ComboKiv>(add_connection::kAreaCombo));
    SetControlText(FindControl(add_connection::kTitle), windowTitle());
    if (editing_)
        SetControlText(FindControl(add_connection::kTitle),
                       QString::fromStdString(card_.bc_name) + QStringLiteral("的个人资料"));
    if (auto* byUser = FindControl<QAbstractButton>(add_connection::kAddByUser)) byUser->setChecked(true);
    ChooseWay(false);
    ShowPage(kBasePage);
    for (const PageNames& page : kPages) RenewAccessible(FindControl(page.tab));
    // Tab goes from field to field; the scrolling area around them is no stop of its own.
    if (QWidget* scroll = FindControl(add_connection::kPageScroll)) scroll->setFocusPolicy(Qt::NoFocus);
    if (auto* remark = FindControl<QTextEdit>(add_connection::kRemarkEdit)) {
        // The grey the style sheet gives every field's default text.
        QPalette palette = remark->palette();
        palette.setColor(QPalette::PlaceholderText, QColor(0xa0, 0xa0, 0xa0));
        remark->setPalette(palette);
    }
    if (editing_) ShowClashes();
}

void CAddConnectionDlg::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && initialised_ && event->modifiers() == Qt::NoModifier) OnNext();
    else if (event->key() == Qt::Key_Escape) OnCloseButton();
    else WindowImplBase::keyPressEvent(event);
}

void CAddConnectionDlg::EnsureBuilt(int page) {
    if (built_[page]) return;
    built_[page] = true;
    QWidget* holder = FindControl(kPages[page].layout);
    if (!holder) return;
    SkinLoader loader(this);
    if (QWidget* content = loader.LoadLayout(QString::fromLatin1(kPages[page].skin), holder))
        holder->layout()->addWidget(content);
    BindNotifications(holder);
    if (page == kBusinessPage) {
        lists_.push_back(std::make_unique<RowList>(*this, MainBusinessList()));
        banks_ = std::make_unique<BankRows>(*this);
        FillJobPicker(store_, FindControl<ComboKiv>(add_connection_business::kJobCombo));
        SetupIndustryPicker(store_, FindControl<TradeCombo>(add_connection_business::kTradeCombo));
    } else if (page == kLifePage) {
        for (RowListSpec& spec : LifeLists()) lists_.push_back(std::make_unique<RowList>(*this, std::move(spec)));
        birthday_ = std::make_unique<BirthdayPickers>(FindControl<ComboKiv>(add_connection_life::kBirthdayType),
                                                      FindControl<ComboKiv>(add_connection_life::kYearCombo),
                                                      FindControl<ComboKiv>(add_connection_life::kMonthCombo),
                                                      FindControl<ComboKiv>(add_connection_life::kDayCombo),
                                                      YearOrder::Descending);
        birthday_->Setup();
    } else if (page == kRelationsPage) {
        lists_.push_back(std::make_unique<RowList>(*this, RelationList()));
        SelectCombo::SetNameSource([store = &store_] {
            BusinessCardList cards;
            ContactStore(*store).AllContactsByName(false, cards);
            QStringList names;
            for (const BusinessCard& c : cards) names << QString::fromStdString(c.bc_name);
            return names;
        });
    }
    PlaceClashes();
}

QWidget* CAddConnectionDlg::PageHolder(int page) const { return FindControl(kPages[page].layout); }

const char* CAddConnectionDlg::PageTab(int page) { return kPages[page].tab; }

RowList& CAddConnectionDlg::List(const QString& container) const {
    for (const auto& list : lists_)
        if (list->Spec().container == container) return *list;
    return *lists_.front();
}

void CAddConnectionDlg::Notify(const QString& type, QWidget* sender) {
    const QString name = ControlName(sender);
    if (type == u"windowinit") {
        DebugLine("发送消息初始化中..");
        PostMessage(WM_UI_EDITOR_INIT);
    } else if (type == u"click") {
        OnClick(name, sender);
    } else if (type == u"setfocus" && name == add_connection::kRemarkEdit) {
        OnRemarkFocus(true);
    } else if (type == u"killfocus" && name == add_connection::kRemarkEdit) {
        OnRemarkFocus(false);
    } else if (type == u"killfocus" && name == find_edit::kEdit && sender->isVisible()) {
        CheckLeftField(this, Editor::Contact, sender, checkingField_);
    }
}

std::intptr_t CAddConnectionDlg::HandleCustomMessage(unsigned number, std::intptr_t, std::intptr_t lParam,
                                                     bool& handled) {
    handled = true;
    if (number == WM_UI_EDITOR_INIT) Initialise();
    else if (number == WM_COMBO_PICKED) OnPicked(ComboKiv::FromMessage(lParam));
    else handled = false;
    return 0;
}

void CAddConnectionDlg::Initialise() {
    if (initialised_) return;
    FillPickers();
    if (editing_) {
        FillBase();
        filled_ = {true, false, false, false};
    } else {
        filled_ = {true, true, true, true};
    }
    initialised_ = true;
    ConnectCardReading();
    if (pendingPage_ >= 0) OpenPage(std::exchange(pendingPage_, -1));
    // Once shown, so a refusal for want of a network stands over the editor.
    if (startOnScanner_) ChooseWay(true);
    else if (page_ == kBasePage) FocusControl(FindControl(add_connection::kNameEdit));
}

void CAddConnectionDlg::FillPickers() {
    PickerEntries groups{{QStringLiteral("全部"), 0}};
    CardGroupList list;
    ContactStore(store_).ContactGroupNames(list);
    for (const CardGroup& g : list) groups.emplace_back(QString::fromStdString(g.group_name), g.group_id);
    auto* group = FindControl<ComboKiv>(add_connection::kGroupCombo);
    FillPicker(group, groups);
    ChooseValue(group, defaultGroupId_);
    // A new contact added from a list that is no group (常用) goes to no group.
    if (!editing_ && group && group->currentIndex() < 0) ChooseValue(group, 0);

    area_->Setup();
}

void CAddConnectionDlg::OpenPage(int page) {
    if (page < kBasePage || page > kRelationsPage) page = kBasePage;
    if (!initialised_) {
        pendingPage_ = page;
        return;
    }
    page_ = page;
    EnsureBuilt(page);
    EnsureFilled(page);
    SwitchPage(QString::fromLatin1(kPages[page].tab));
}

void CAddConnectionDlg::EnsureFilled(int page) {
    EnsureBuilt(page);
    if (filled_[page]) return;
    FillPage(page);
    filled_[page] = true;
}

void CAddConnectionDlg::SwitchPage(const QString& tab) {
    int shown = kBasePage;
    for (int p = 0; p < 4; ++p)
        if (tab.compare(QString::fromLatin1(kPages[p].tab), Qt::CaseInsensitive) == 0) shown = p;
    ShowPage(shown);
}

void CAddConnectionDlg::ShowPage(int page) {
    // The tabs are exclusive through this loop alone: an auto-exclusive tab would also
    // clear the radio buttons inside the pages.
    for (int p = 0; p < 4; ++p) {
        if (QWidget* layout = FindControl(kPages[p].layout)) layout->setVisible(p == page);
        if (auto* tab = FindControl<QAbstractButton>(kPages[p].tab)) tab->setChecked(p == page);
    }
    const bool last = page == kRelationsPage;
    if (QWidget* cancel = FindControl(add_connection::kCancel)) cancel->setVisible(!last);
    if (QWidget* next = FindControl(add_connection::kNext)) {
        next->setVisible(true);
        SetControlText(next, last ? QStringLiteral("保存") : QStringLiteral("下一步"));
    }
    if (auto* scroll = FindControl<QScrollArea>(add_connection::kPageScroll)) scroll->ensureVisible(0, 0);
}

void CAddConnectionDlg::OnNext() {
    if (page_ == kRelationsPage) {
        Save();
        return;
    }
    EnsureFilled(kBusinessPage);
    EnsureFilled(kRelationsPage);
    if (page_ + 1 == kLifePage) EnsureFilled(kLifePage);
    ++page_;
    SwitchPage(QString::fromLatin1(kPages[page_].tab));
}

void CAddConnectionDlg::OnClick(const QString& name, QWidget* sender) {
    for (int p = 0; p < 4; ++p) {
        if (name == QLatin1String(kPages[p].tab)) {
            if (initialised_) OpenPage(p);
            return;
        }
    }
    if (name == add_connection::kNext) OnNext();
    else if (name == add_connection::kCancel) Close(1);
    else if (name == add_connection::kBtnClose) OnCloseButton();
    else if (name == add_connection::kAddByUser) ChooseWay(false);
    else if (name == add_connection::kAddBySec) ChooseWay(true);
    else if (name == add_connection::kConnectDevice) OnDeviceButton(false);
    else if (name == add_connection::kBeginDevice) OnDeviceButton(true);
    else if (banks_ && banks_->OnClick(name, sender)) return;
    else {
        for (const auto& list : lists_)
            if (list->OnClick(name, sender)) return;
    }
}

void CAddConnectionDlg::OnPicked(const QWidget* picker) {
    auto* combo = qobject_cast<const ComboKiv*>(picker);
    if ((birthday_ && birthday_->OnPicked(combo)) || !area_->OnPicked(combo)) return;
    // A completed area starts an empty company address, which the user may go on typing.
    const ComboChain chain = area_->Chain();
    const bool complete = chain.first.hasChoice() && chain.second.hasChoice() && chain.third.hasChoice();
    if (complete && Text(add_connection::kCompanyAddressEdit.name).isEmpty())
        SetText(add_connection::kCompanyAddressEdit.name, area_->ChosenNames().toStdString());
}

void CAddConnectionDlg::OnRemarkFocus(bool entering) {
    auto* remark = FindControl<QTextEdit>(add_connection::kRemarkEdit);
    if (!remark) return;
    SetControlAttribute(FindControl(add_connection::kRemarkBackground), QStringLiteral("bkimage"),
                        entering ? QStringLiteral("file='edit_hot.png' corner='8,4,8,4'")
                                 : QStringLiteral("file='edit_normal.png' corner='4,4,4,4'"));
}

void CAddConnectionDlg::ChooseWay(bool scanner) {
    auto* byUser = FindControl<QAbstractButton>(add_connection::kAddByUser);
    auto* bySec = FindControl<QAbstractButton>(add_connection::kAddBySec);
    if (scanner) {
        const bool online = probe_ ? probe_() : NetUtil::Instance().isNetworkAvailable();
        if (!online) {
            ShowTalMsgBox({}, this, QStringLiteral("您的网络暂时不能用，请检查网络状态再使用本功能"));
            scanner = false;
        } else {
            scannerFirstUse_ = false;
        }
    }
    if (byUser) byUser->setChecked(!scanner);
    if (bySec) bySec->setChecked(scanner);
    if (QWidget* user = FindControl(add_connection::kUserPage)) user->setVisible(!scanner);
    for (const char* name :
         {add_connection::kSecPage.name, add_connection::kFirstPage.name, add_connection::kSecInfoPage.name,
          add_connection::kCameraPage.name, add_connection::kCamera.name})
        if (QWidget* part = FindControl(name)) part->setVisible(scanner);
}

void CAddConnectionDlg::OnDeviceButton(bool shoot) {
    auto* camera = FindControl<CCameraUI>(add_connection::kCamera);
    if (!camera) return;
    camera->Start();
    if (shoot) camera->Shoot();  // without a scanner it says so itself
    else
        ShowTalMsgBox({}, this,
                      camera->DeviceAvailable() ? QStringLiteral("扫描仪已连接，可以开始扫描")
                                                : QStringLiteral("未找到扫描仪，请连接扫描仪后再试"));
}

void CAddConnectionDlg::OnCloseButton() {
    auto* camera = FindControl<CCameraUI>(add_connection::kCamera);
    if (camera && camera->UploadInProgress() &&
        ShowTalMsgBox({}, this, QStringLiteral("小秘书正在联网工作中，请勿关闭小秘书.T _ T"), 1) != kMsgBoxOk)
        return;
    Close(1);
}

}  // namespace kivtal
