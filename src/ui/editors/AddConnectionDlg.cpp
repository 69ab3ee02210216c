#include "ui/editors/AddConnectionDlg.h"

#include <QAbstractButton>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QTextEdit>

#include "model/Diagnostics.h"
#include "net/NetUtil.h"
#include "store/ContactStore.h"
#include "text/EditorChecks.h"
#include "ui/controls/ComboKiv.h"
#include "ui/controls/EditorPickers.h"
#include "ui/dialogs/capture/CameraUI.h"
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

const QString kRemarkDefault = QStringLiteral("备注内容");

struct PageNames {
    const char* tab;
    const char* layout;
    const char* skin;  // loaded into the layout the first time the page is needed
};
constexpr PageNames kPages[4] = {{"base", "base_message_Layout", nullptr},
                                 {"business", "business_message_Layout", "AddConnectionBusiness.xml"},
                                 {"lift", "lift_message", "AddConnectionLife.xml"},
                                 {"connection", "connection_message", "AddConnectionRelations.xml"}};

RowListSpec PlainList(const char* container, const char* add, const char* del, const char* label,
                      const char* defaultText) {
    return RowListSpec{QString::fromLatin1(container), QString::fromLatin1(add), QString::fromLatin1(del),
                       QString::fromUtf8(label),
                       {FieldSpec{QStringLiteral("list_edit"), QString::fromUtf8(defaultText), 20, false}},
                       1,
                       QString()};
}

RowListSpec MainBusinessList() {
    RowListSpec main = PlainList("main_sail", "add_main_business", "delete_main_business", "主营业务", "联系人主营业务");
    main.entriesPerLine = 2;
    // Shown in grey like every default text, so an untouched new entry is not stored.
    main.addedDefault = QStringLiteral("请输入主营业务");
    return main;
}

std::vector<RowListSpec> LifeLists() {
    return {PlainList("intration_layou", "add_intration", "delete_intration", "兴趣爱好", "联系人兴趣爱好"),
            PlainList("xingyang_page", "add_belief", "delete_belief", "信 仰", "联系人个人信仰"),
            PlainList("left_layoput", "add_Habits", "delete_Habits", "生活习惯", "生活习惯"),
            PlainList("food_like", "add_food_like", "delete_food_like", "食物偏好", "食物偏好")};
}

RowListSpec RelationList() {
    return RowListSpec{QStringLiteral("relevance_page"), QStringLiteral("add_relevance"),
                          QStringLiteral("delete_relevance"), QStringLiteral("关联人脉"),
                          {FieldSpec{QStringLiteral("edt_user"), QStringLiteral("请选择联系人"), 50, true},
                           FieldSpec{QStringLiteral("edt_relation"), QStringLiteral("两者关系"), 10, false}},
                          1,
                          QString()};
}

}  // namespace

CAddConnectionDlg::CAddConnectionDlg(LocalStore& store, BusinessCard card, int defaultGroupId, bool editing)
    : store_(store), card_(std::move(card)), defaultGroupId_(defaultGroupId), editing_(editing) {}

CAddConnectionDlg::~CAddConnectionDlg() = default;

CAddConnectionDlg* CAddConnectionDlg::Open(LocalStore& store, QWidget* owner, int contactId, int defaultGroupId) {
    BusinessCard card;
    const bool editing = contactId > 0;
    if (editing && ContactStore(store).ContactById(contactId, card) != 0) {
        ShowTalMsgBox({}, owner, QStringLiteral("该人脉已不存在，可能已在其他设备上删除"));
        return nullptr;
    }
    auto* dlg = new CAddConnectionDlg(store, std::move(card), defaultGroupId, editing);
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
    CAddConnectionDlg* dlg = Open(LocalStore::Instance(), owner, 0, 0);
    if (!dlg) return 0;
    dlg->startOnScanner_ = true;
    return dlg->ShowModal();
}

void CAddConnectionDlg::InitWindow() {
    area_ = std::make_unique<AreaPickers>(store_, FindControl<ComboKiv>("country_combo"),
                                          FindControl<ComboKiv>("province_combo"), FindControl<ComboKiv>("area_combo"));
    SetControlText(FindControl("title"), windowTitle());
    if (editing_)
        SetControlText(FindControl("title"), QString::fromStdString(card_.bc_name) + QStringLiteral("的个人资料"));
    if (auto* byUser = FindControl<QAbstractButton>("AddByUser")) byUser->setChecked(true);
    if (auto* bySec = FindControl<QAbstractButton>("AddBySEC"); bySec && startOnScanner_) bySec->setChecked(true);
    ChooseWay(startOnScanner_);
    ShowPage(kBasePage);
}

void CAddConnectionDlg::EnsureBuilt(int page) {
    if (built_[page]) return;
    built_[page] = true;
    QWidget* holder = FindControl(kPages[page].layout);
    if (!holder) return;
    SkinLoader loader(this);
    if (QWidget* content = loader.LoadLayout(QString::fromLatin1(kPages[page].skin), holder)) holder->layout()->addWidget(content);
    BindNotifications(holder);
    if (page == kBusinessPage) {
        lists_.push_back(std::make_unique<RowList>(*this, MainBusinessList()));
        banks_ = std::make_unique<BankRows>(*this);
        FillJobPicker(store_, FindControl<ComboKiv>("trade_zhineng"));
        SetupIndustryPicker(store_, FindControl<TradeCombo>("trade_in"));
    } else if (page == kLifePage) {
        for (RowListSpec& spec : LifeLists()) lists_.push_back(std::make_unique<RowList>(*this, std::move(spec)));
        birthday_ = std::make_unique<BirthdayPickers>(FindControl<ComboKiv>("birthday_type"),
                                                      FindControl<ComboKiv>("combo_year"),
                                                      FindControl<ComboKiv>("combo_month"),
                                                      FindControl<ComboKiv>("combo_day"), YearOrder::Descending);
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
}

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
    } else if (type == u"setfocus" && name == u"remark_edit") {
        OnRemarkFocus(true);
    } else if (type == u"killfocus" && name == u"remark_edit") {
        OnRemarkFocus(false);
    } else if (type == u"killfocus" && name == u"multiControl_edit" && sender->isVisible()) {
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
    if (pendingPage_ >= 0) OpenPage(std::exchange(pendingPage_, -1));
}

void CAddConnectionDlg::FillPickers() {
    PickerEntries groups{{QStringLiteral("全部"), 0}};
    CardGroupList list;
    ContactStore(store_).ContactGroupNames(list);
    for (const CardGroup& g : list) groups.emplace_back(QString::fromStdString(g.group_name), g.group_id);
    auto* group = FindControl<ComboKiv>("group_combo");
    FillPicker(group, groups);
    ChooseValue(group, defaultGroupId_);

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
    if (QWidget* cancel = FindControl("cancel")) cancel->setVisible(!last);
    if (QWidget* next = FindControl("next")) {
        next->setVisible(true);
        SetControlText(next, last ? QStringLiteral("保存") : QStringLiteral("下一步"));
    }
    if (auto* scroll = FindControl<QScrollArea>("page_scroll")) scroll->ensureVisible(0, 0);
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
    if (name == u"next") OnNext();
    else if (name == u"cancel") Close(1);
    else if (name == u"btn_close") OnCloseButton();
    else if (name == u"AddByUser") ChooseWay(false);
    else if (name == u"AddBySEC") ChooseWay(true);
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
    if (complete && Text("base_com_address_edit").isEmpty())
        SetText("base_com_address_edit", area_->ChosenNames().toStdString());
}

void CAddConnectionDlg::OnRemarkFocus(bool entering) {
    auto* remark = FindControl<QTextEdit>("remark_edit");
    if (!remark) return;
    SetControlAttribute(FindControl("remark_edit_bk"), QStringLiteral("bkimage"),
                        entering ? QStringLiteral("file='edit_hot.png' corner='8,4,8,4'")
                                 : QStringLiteral("file='edit_normal.png' corner='4,4,4,4'"));
    if (entering && remark->toPlainText() == kRemarkDefault) remark->clear();
    else if (!entering && remark->toPlainText().isEmpty()) remark->setPlainText(kRemarkDefault);
}

void CAddConnectionDlg::ChooseWay(bool scanner) {
    auto* byUser = FindControl<QAbstractButton>("AddByUser");
    auto* bySec = FindControl<QAbstractButton>("AddBySEC");
    if (scanner) {
        const bool online = probe_ ? probe_() : NetUtil::Instance().isNetworkAvailable();
        if (!online) {
            ShowTalMsgBox({}, this, QStringLiteral("您的网络暂时不能用，请检查网络状态再使用本功能"));
            if (byUser) byUser->setChecked(true);
            if (bySec) bySec->setChecked(false);
            scanner = false;
        } else {
            scannerFirstUse_ = false;
        }
    }
    if (QWidget* user = FindControl("user_page")) user->setVisible(!scanner);
    for (const char* name : {"sec_page", "frist_page", "sec_info_page", "camera_page", "KivMCamera"})
        if (QWidget* part = FindControl(name)) part->setVisible(scanner);
}

void CAddConnectionDlg::OnCloseButton() {
    auto* camera = FindControl<CCameraUI>("KivMCamera");
    if (camera && camera->UploadInProgress() &&
        ShowTalMsgBox({}, this, QStringLiteral("小秘书正在联网工作中，请勿关闭小秘书.T _ T"), 1) != kMsgBoxOk)
        return;
    Close(1);
}

}  // namespace kivtal
