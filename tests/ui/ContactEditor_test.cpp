// The contact editor on a real store: saving new and edited contacts, the field rules
// in their save order, lazily filled pages, the lunar birthday and the sync request.
#include <QAbstractButton>
#include <QComboBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

#include "ui/dialogs/capture/FakeFrameSource.h"
#include "ui/dialogs/capture/CameraUI.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/RowList.h"
#include "ui/support/AccessibleWalk.h"
#include "ui/tools/EditorScenes.h"
#include "ui/support/EditorFixture.h"

namespace kivtal::test {
namespace {

class ContactEditorTest : public EditorFixture {
protected:
    CAddConnectionDlg& OpenEditor(int contactId = 0, int defaultGroup = 0) {
        editor = CAddConnectionDlg::Open(store, nullptr, contactId, defaultGroup);
        EXPECT_NE(editor, nullptr);
        editor->SetWorkerLink(&worker);
        editor->ShowWindow(true);
        EXPECT_TRUE(PumpUntil([this] { return editor && editor->Initialised(); }));
        return *editor;
    }

    // A contact with every page filled and the fields no page shows, as stored.
    BusinessCard FullContact() {
        BusinessCard c = screens::DemoContact();
        c.bc_name_pinyin = "LIMING";
        c.group_id = AddGroup("客户");
        c.title = 2;
        c.birthday = "2020--4-05";
        c.ww = "kept-ww";
        c.complete = 1;
        c.common_use = 1;
        c.main_tab = 0;
        CardGroup group;
        EXPECT_EQ(ContactStore(store).GroupById(c.group_id, group), 0);
        c.server_group_id = group.server_id;
        EXPECT_EQ(ContactStore(store).AddContact(c), StoreStatus::kOk);
        return Stored(c.bc_id);
    }

    QPointer<CAddConnectionDlg> editor;
};

TEST_F(ContactEditorTest, NewContactIsStoredInTheDefaultGroupAndAsksForASync) {
    const int group = AddGroup("同事");
    CAddConnectionDlg& dlg = OpenEditor(0, group);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("添加人脉"));
    EXPECT_EQ(dlg.FindControl<QComboBox>("group_combo")->currentText(), QStringLiteral("同事"));
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
    for (int page = 0; page < 3; ++page) ClickControl(dlg, "next");
    EXPECT_EQ(ControlText(dlg.FindControl("next")), QStringLiteral("保存"));
    EXPECT_FALSE(dlg.FindControl("cancel")->isVisible());
    MessageLog log;
    ClickControl(dlg, "next");
    EXPECT_TRUE(PumpUntil([this] { return editor.isNull(); }));

    const BusinessCardList all = AllStored();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].bc_name, "张三");
    EXPECT_EQ(all[0].bc_name_pinyin, "ZHANGSAN");
    EXPECT_EQ(all[0].group_id, group);
    EXPECT_EQ(all[0].main_tab, 1);
    EXPECT_EQ(all[0].birthday, "");
    EXPECT_EQ(all[0].bc_comment, "");  // the remark's default text is no remark
    EXPECT_TRUE(log.shown.empty());
    ASSERT_EQ(worker.requests.size(), 1u);
    EXPECT_EQ(worker.requests[0].message, WM_REQ_SYNC);
    EXPECT_EQ(worker.requests[0].reason, SYNC_BY_OPER_EFFECT);
}

TEST_F(ContactEditorTest, TheRemarksDefaultTextIsGreyLikeTheOtherFields) {
    CAddConnectionDlg& dlg = OpenEditor();
    auto* remark = dlg.FindControl<QTextEdit>("remark_edit");
    ASSERT_NE(remark, nullptr);
    EXPECT_TRUE(remark->toPlainText().isEmpty());
    EXPECT_EQ(remark->placeholderText(), QStringLiteral("备注内容"));
    EXPECT_EQ(remark->palette().color(QPalette::PlaceholderText), QColor(0xa0, 0xa0, 0xa0));
    // A remark that reads like the default text is still a remark.
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
    remark->setPlainText(QStringLiteral("备注内容"));
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(AllStored().at(0).bc_comment, "备注内容");
}

TEST_F(ContactEditorTest, ChoosingAllStoresGroupZeroAndServerGroupZero) {
    CAddConnectionDlg& dlg = OpenEditor(0, AddGroup("同事"));
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
    Pick(dlg, "group_combo", 0);
    ASSERT_TRUE(dlg.Save());
    const BusinessCardList all = AllStored();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].group_id, 0);
    EXPECT_EQ(all[0].server_group_id, 0);
}

TEST_F(ContactEditorTest, APastedZeroCharacterIsDroppedInsteadOfCuttingTheTextShort) {
    CAddConnectionDlg& dlg = OpenEditor();
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
    Type(dlg, "base_company_edit", QStringLiteral("甲") + QChar(0) + QStringLiteral("公司") + QChar(0));
    ASSERT_TRUE(dlg.Save());
    ASSERT_EQ(AllStored().size(), 1u);
    EXPECT_EQ(AllStored()[0].company_name, "甲公司");
}

struct RuleCase {
    const char* what;
    std::vector<std::pair<const char*, const char*>> fields;  // typed texts
    std::vector<Shown> expected;
};

TEST_F(ContactEditorTest, EachFieldRuleStopsTheSaveWithItsMessageInSaveOrder) {
    const Shown nameMissing{"温馨提示", "您未填写姓名，请填写完整"};
    const Shown mobileMissing{"温馨提示", "您未填写手机号码，请填写完整"};
    const Shown badMail{"温馨提示", "您输入邮箱格式有误请重新输入"};
    std::string longName;
    for (int i = 0; i < 51; ++i) longName += "张";
    const std::vector<RuleCase> cases = {
        {"nothing typed", {}, {nameMissing}},
        {"no mobile", {{"base_name_edit", "张三"}}, {mobileMissing}},
        {"bad mail first",
         {{"base_name_edit", "张三"}, {"base_phone_edit", "13912345678"}, {"base_email_edit", "a@b"}},
         {badMail}},
        {"bad mail, then the missing name", {{"base_email_edit", "A@b.c"}}, {badMail, nameMissing}},
        {"name with an emoji",
         {{"base_name_edit", "张三😀"}, {"base_phone_edit", "13912345678"}},
         {{"温馨提示", "姓名不能含有“😀”"}}},
        {"name too long",
         {{"base_name_edit", longName.c_str()}, {"base_phone_edit", "13912345678"}},
         {{"温馨提示", "姓名最长不能超过50个字"}}},
        {"mobile 12…",
         {{"base_name_edit", "张三"}, {"base_phone_edit", "12912345678"}},
         {{"温馨提示", "请重新输入11位大陆手机号"}}},
        {"qq before fax",
         {{"base_name_edit", "张三"},
          {"base_phone_edit", "13912345678"},
          {"base_qq_edit", "9999"},
          {"business_fax_edit", "(021)"}},
         {{"温馨提示", "QQ号码必须为大于10000的数字"}}},
        {"fax",
         {{"base_name_edit", "张三"}, {"base_phone_edit", "13912345678"}, {"business_fax_edit", "(021)1"}},
         {{"温馨提示", "传真输入的格式有误，请重新输入"}}},
        {"office phone",
         {{"base_name_edit", "张三"}, {"base_phone_edit", "13912345678"}, {"business_fix_phone", "+86"}},
         {{"温馨提示", "办公座机输入的格式有误，请重新输入"}}},
        {"home phone",
         {{"base_name_edit", "张三"}, {"base_phone_edit", "13912345678"}, {"life_phone", "1 2"}},
         {{"温馨提示", "家庭电话输入的格式有误，请重新输入"}}},
        {"related name",
         {{"base_name_edit", "张三"}, {"base_phone_edit", "13912345678"}, {"edt_user", "李四\t"}},
         {{"温馨提示", "姓名不能含有字符 U+0009"}}},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.what);
        CAddConnectionDlg& dlg = OpenEditor();
        for (int page : {kBusinessPage, kLifePage, kRelationsPage}) dlg.OpenPage(page);
        for (const auto& [field, text] : c.fields) Type(dlg, field, QString::fromUtf8(text));
        MessageLog log;
        EXPECT_FALSE(dlg.Save());
        EXPECT_EQ(log.shown, c.expected);
        EXPECT_TRUE(dlg.isVisible());
        for (const auto& [field, text] : c.fields) EXPECT_EQ(FieldText(dlg, field), QString::fromUtf8(text)) << field;
        dlg.Close(1);
        Pump();
    }
    EXPECT_TRUE(AllStored().empty());
    EXPECT_TRUE(worker.requests.empty());
}

TEST_F(ContactEditorTest, AFailedSaveOpensThePageOfTheFieldAndTypingGoesIntoIt) {
    struct FocusCase {
        const char* what;
        const char* field;
        const char* text;
        int page;
    } const cases[] = {
        {"name, from the last page", "base_name_edit", "张三😀", kBasePage},
        {"fax", "business_fax_edit", "(021)", kBusinessPage},
        {"home phone", "life_phone", "1 2", kLifePage},
        {"related name", "edt_user", "李四😀", kRelationsPage},
        {"missing mobile, no message", "base_phone_edit", "", kBasePage},
    };
    for (const FocusCase& c : cases) {
        SCOPED_TRACE(c.what);
        CAddConnectionDlg& dlg = OpenEditor();
        for (int page : {kBusinessPage, kLifePage, kRelationsPage}) dlg.OpenPage(page);
        Type(dlg, "base_name_edit", QStringLiteral("张三"));
        Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
        Type(dlg, c.field, QString::fromUtf8(c.text));
        dlg.OpenPage(c.page == kRelationsPage ? kBasePage : kRelationsPage);
        MessageLog log;
        EXPECT_FALSE(dlg.Save());
        EXPECT_EQ(dlg.CurrentPage(), c.page);
        auto* field = dlg.FindControl<FindEdit>(c.field);
        ASSERT_TRUE(PumpUntil([&] { return QApplication::focusWidget() == field->Edit(); }))
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "no focus");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        EXPECT_TRUE(field->GetText().endsWith('x'));
        dlg.Close(1);
        Pump();
    }
}

TEST_F(ContactEditorTest, TheDemoContactsSaveUnchanged) {
    for (const char* name : {"Anna Müller", "Émile Dubois", "Kevin O'Brien", "David Brown", "12580 客服"}) {
        SCOPED_TRACE(name);
        BusinessCard card;
        card.bc_name = name;
        card.cell_phone = "13912345678";
        ASSERT_EQ(ContactStore(store).AddContact(card), StoreStatus::kOk);
        CAddConnectionDlg& dlg = OpenEditor(card.bc_id);
        MessageLog log;
        EXPECT_TRUE(dlg.Save());
        EXPECT_TRUE(log.shown.empty());
        EXPECT_EQ(Stored(card.bc_id).bc_name, name);
    }
}

TEST_F(ContactEditorTest, IncompletePickerChainsStopTheSave) {
    struct ChainCase {
        const char* what;
        std::vector<std::pair<const char*, int>> picks;
        const char* message;
    } const cases[] = {
        {"city without district",
         {{"country_combo", 440000}, {"province_combo", 440100}},
         "县/区未填写完整，请选择后再保存"},
        {"top level alone", {{"country_combo", 440000}}, "市/地区未填写完整，请选择后再保存"},
        {"year without month", {{"combo_year", 1990}}, "生日未填写完整，请选择后再保存"},
    };
    for (const ChainCase& c : cases) {
        SCOPED_TRACE(c.what);
        CAddConnectionDlg& dlg = OpenEditor();
        Type(dlg, "base_name_edit", QStringLiteral("张三"));
        Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
        dlg.OpenPage(kLifePage);
        for (const auto& [picker, value] : c.picks) Pick(dlg, picker, value);
        MessageLog log;
        EXPECT_FALSE(dlg.Save());
        EXPECT_EQ(log.shown, (std::vector<Shown>{{"温馨提示", c.message}}));
        dlg.Close(1);
        Pump();
    }
    EXPECT_TRUE(AllStored().empty());
}

TEST_F(ContactEditorTest, TheChosenAreaLeadsTheStoredCompanyAddress) {
    struct AreaCase {
        const char* what;
        std::vector<std::pair<const char*, int>> picks;
        const char* typed;
        const char* stored;
    } const cases[] = {
        // An area without districts completes the chain by itself.
        {"area alone", {{"country_combo", 310000}, {"province_combo", 310104}}, "", "上海市徐汇区"},
        {"street typed before the pick",
         {{"country_combo", 310000}, {"province_combo", 310104}},
         "漕溪北路1号",
         "上海市徐汇区漕溪北路1号"},
        {"address already naming the area",
         {{"country_combo", 310000}, {"province_combo", 310104}},
         "上海市徐汇区漕溪北路1号",
         "上海市徐汇区漕溪北路1号"},
        {"no area chosen", {}, "漕溪北路1号", "漕溪北路1号"},
    };
    for (const AreaCase& c : cases) {
        SCOPED_TRACE(c.what);
        CAddConnectionDlg& dlg = OpenEditor();
        Type(dlg, "base_name_edit", QString::fromUtf8(c.what));
        Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
        Type(dlg, "base_com_address_edit", QString::fromUtf8(c.typed));
        for (const auto& [picker, value] : c.picks) Pick(dlg, picker, value);
        MessageLog log;
        ASSERT_TRUE(dlg.Save());
        EXPECT_TRUE(log.shown.empty());
        const BusinessCardList all = AllStored();
        const auto saved = std::find_if(all.begin(), all.end(), [&](const auto& b) { return b.bc_name == c.what; });
        ASSERT_NE(saved, all.end());
        EXPECT_EQ(saved->addr_c_detail, c.stored);
    }
}

TEST_F(ContactEditorTest, AListEntryHoldingTheListMarkIsRefusedOnItsPage) {
    struct MarkCase {
        const char* container;
        Entry entry;
        int page;
        const char* message;
    } const cases[] = {
        {"main_sail",
         {"外贸[pig]物流"},
         kBusinessPage,
         "主营业务的一项含有“[pig]”：它是分隔各项的记号，请删去后再保存"},
        {"intration_layou", {"读书[pig]"}, kLifePage, "兴趣爱好的一项含有“[pig]”：它是分隔各项的记号，请删去后再保存"},
        {"relevance_page",
         {"李四", "同学[gx]朋友"},
         kRelationsPage,
         "关联人脉的一项含有“[gx]”：它是分隔各项的记号，请删去后再保存"},
    };
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.container);
        CAddConnectionDlg& dlg = OpenEditor();
        for (int page : {kBusinessPage, kLifePage, kRelationsPage}) dlg.OpenPage(page);
        dlg.OpenPage(kBasePage);
        Type(dlg, "base_name_edit", QStringLiteral("张三"));
        Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
        dlg.List(c.container).SetEntries({c.entry});
        MessageLog log;
        EXPECT_FALSE(dlg.Save());
        EXPECT_EQ(log.shown, (std::vector<Shown>{{"温馨提示", c.message}}));
        EXPECT_EQ(dlg.CurrentPage(), c.page);
        EXPECT_TRUE(PumpUntil([&] {
            QWidget* focus = QApplication::focusWidget();
            return focus && dlg.FindControl(c.container)->isAncestorOf(focus);
        }));
        EXPECT_TRUE(AllStored().empty());
        dlg.Close(1);
        Pump();
    }
}

TEST_F(ContactEditorTest, AContactAddedFromTheCommonListGoesToNoGroup) {
    constexpr int kCommonList = -2;
    CAddConnectionDlg& dlg = OpenEditor(0, kCommonList);
    EXPECT_EQ(dlg.FindControl<QComboBox>("group_combo")->currentText(), QStringLiteral("全部"));
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
    ASSERT_TRUE(dlg.Save());
    ASSERT_EQ(AllStored().size(), 1u);
    EXPECT_EQ(AllStored()[0].group_id, 0);
    EXPECT_EQ(AllStored()[0].server_group_id, 0);
}

TEST_F(ContactEditorTest, EditingOnlyTheRelationsPageKeepsEveryOtherField) {
    const BusinessCard before = FullContact();
    CAddConnectionDlg& dlg = OpenEditor(before.bc_id);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("个人资料修改"));
    EXPECT_EQ(ControlText(dlg.FindControl("title")), QStringLiteral("李明的个人资料"));
    EXPECT_FALSE(dlg.PageFilled(kBusinessPage));
    ClickControl(dlg, "connection");
    EXPECT_EQ(dlg.CurrentPage(), kRelationsPage);
    EXPECT_FALSE(dlg.PageFilled(kBusinessPage));
    EXPECT_FALSE(dlg.PageFilled(kLifePage));
    MessageLog log;
    ClickControl(dlg, "next");
    ASSERT_TRUE(PumpUntil([this] { return editor.isNull(); }));
    EXPECT_TRUE(log.shown.empty());
    EXPECT_EQ(Stored(before.bc_id), before);
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);
}

TEST_F(ContactEditorTest, LunarLeapMonthBirthdayRoundTrips) {
    // Typed in: lunar 2020, the leap fourth month, day 5.
    CAddConnectionDlg& dlg = OpenEditor();
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
    dlg.OpenPage(kLifePage);
    Pick(dlg, "birthday_type", 2);
    Pick(dlg, "combo_year", 2020);
    auto* month = dlg.FindControl<QComboBox>("combo_month");
    const int leap = month->findData(-4);
    ASSERT_GE(leap, 0);
    EXPECT_EQ(month->itemText(leap - 1), QStringLiteral("四月"));
    EXPECT_EQ(month->itemText(leap), QStringLiteral("闰四月"));
    Pick(dlg, "combo_month", -4);
    EXPECT_EQ(dlg.FindControl<QComboBox>("combo_day")->count(), 29);  // the leap month's own length
    Pick(dlg, "combo_day", 5);
    ASSERT_TRUE(dlg.Save());
    const BusinessCardList all = AllStored();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].birthday_type, 2);
    EXPECT_EQ(all[0].birthday, "2020--4-05");

    // Shown again.
    CAddConnectionDlg& again = OpenEditor(all[0].bc_id);
    again.OpenPage(kLifePage);
    EXPECT_EQ(again.FindControl<QComboBox>("birthday_type")->currentText(), QStringLiteral("农历"));
    EXPECT_EQ(again.FindControl<QComboBox>("combo_year")->currentText(), QStringLiteral("庚子鼠年(2020)"));
    EXPECT_EQ(again.FindControl<QComboBox>("combo_month")->currentText(), QStringLiteral("闰四月"));
    EXPECT_EQ(again.FindControl<QComboBox>("combo_day")->currentText(), QStringLiteral("初五"));
}

TEST_F(ContactEditorTest, ChangingTheCalendarEmptiesTheChosenDate) {
    CAddConnectionDlg& dlg = OpenEditor();
    dlg.OpenPage(kLifePage);
    Pick(dlg, "combo_year", 2021);
    Pick(dlg, "combo_month", 2);
    EXPECT_EQ(dlg.FindControl<QComboBox>("combo_day")->count(), 28);
    Pick(dlg, "birthday_type", 2);
    for (const char* picker : {"combo_year", "combo_month", "combo_day"})
        EXPECT_EQ(dlg.FindControl<QComboBox>(picker)->currentIndex(), -1) << picker;
    EXPECT_EQ(dlg.FindControl<QComboBox>("combo_month")->count(), 0);
}

TEST_F(ContactEditorTest, OfflineSaveStoresTheContactAndAsksForNoSync) {
    LoginUser::Instance().update([](LoginUserState& s) { s.login_mode = LoginUserState::kModeOffline; });
    CAddConnectionDlg& dlg = OpenEditor();
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
    ASSERT_TRUE(dlg.Save());
    EXPECT_EQ(AllStored().size(), 1u);
    EXPECT_TRUE(worker.requests.empty());
}

TEST_F(ContactEditorTest, FailedAddKeepsTheEditorOpenWithEverythingTypedForARetry) {
    CAddConnectionDlg& dlg = OpenEditor();
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    Type(dlg, "base_phone_edit", QStringLiteral("13912345678"));
    dlg.OpenPage(kLifePage);
    Type(dlg, "life_Address", QStringLiteral("徐汇区"));
    Exec("ALTER TABLE tb_bc RENAME TO tb_bc_away;");
    {
        MessageLog log;
        EXPECT_FALSE(dlg.Save());
        EXPECT_EQ(log.shown, (std::vector<Shown>{{"温馨提示", "保存数据失败"}}));
    }
    ASSERT_FALSE(editor.isNull());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(FieldText(dlg, "base_name_edit"), QStringLiteral("张三"));
    EXPECT_EQ(FieldText(dlg, "life_Address"), QStringLiteral("徐汇区"));
    EXPECT_TRUE(worker.requests.empty());

    Exec("ALTER TABLE tb_bc_away RENAME TO tb_bc;");
    ASSERT_TRUE(dlg.Save());
    const BusinessCardList all = AllStored();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].addr_f_detail, "徐汇区");
    EXPECT_EQ(worker.Count(WM_REQ_SYNC), 1);
}

TEST_F(ContactEditorTest, ScannerNeedsTheNetworkAndKeepsItsPlaceForTheCaptureControl) {
    CAddConnectionDlg& dlg = OpenEditor();
    EXPECT_TRUE(dlg.FindControl<QAbstractButton>("AddByUser")->isChecked());
    bool online = false;
    dlg.SetNetworkProbe([&] { return online; });
    {
        MessageLog log;
        ClickControl(dlg, "AddBySEC");
        EXPECT_EQ(log.shown, (std::vector<Shown>{{"温馨提示", "您的网络暂时不能用，请检查网络状态再使用本功能"}}));
    }
    EXPECT_TRUE(dlg.FindControl<QAbstractButton>("AddByUser")->isChecked());
    EXPECT_TRUE(dlg.FindControl("user_page")->isVisible());
    EXPECT_FALSE(dlg.FindControl("KivMCamera")->isVisible());
    EXPECT_TRUE(dlg.ScannerFirstUse());

    online = true;
    // No scanner here: the capture control shows a test picture instead.
    SetFrameSourceFactory([] { return std::make_unique<FakeFrameSource>(QSize(640, 480), 0); });
    ClickControl(dlg, "AddBySEC");
    EXPECT_FALSE(dlg.FindControl("user_page")->isVisible());
    EXPECT_TRUE(dlg.FindControl("KivMCamera")->isVisible());
    EXPECT_FALSE(dlg.ScannerFirstUse());
    ClickControl(dlg, "AddByUser");
    EXPECT_TRUE(dlg.FindControl("user_page")->isVisible());
    SetFrameSourceFactory({});
}

TEST_F(ContactEditorTest, TheTitleBarScanOpensTheScannerPageWhoseButtonsAnswer) {
    SetFrameSourceFactory([] { return std::make_unique<FakeFrameSource>(QSize(640, 480), 0); });
    editor = CAddConnectionDlg::Open(store, nullptr, 0, 0, true);
    ASSERT_NE(editor, nullptr);
    editor->SetNetworkProbe([] { return true; });
    editor->ShowWindow(true);
    ASSERT_TRUE(PumpUntil([this] { return editor->Initialised(); }));
    EXPECT_TRUE(editor->FindControl<QAbstractButton>("AddBySEC")->isChecked());
    EXPECT_FALSE(editor->FindControl<QAbstractButton>("AddByUser")->isChecked());
    EXPECT_TRUE(editor->FindControl("KivMCamera")->isVisible());
    EXPECT_FALSE(editor->FindControl("user_page")->isVisible());

    auto* camera = editor->FindControl<CCameraUI>("KivMCamera");
    {
        MessageLog log;
        ClickControl(*editor, "connect_device");
        EXPECT_EQ(log.shown, (std::vector<Shown>{{"温馨提示", "扫描仪已连接，可以开始扫描"}}));
    }
    ClickControl(*editor, "begin_device");
    EXPECT_TRUE(camera->Shooting() || camera->ShotTaken());
    SetFrameSourceFactory({});
}

QWidget* Focused() { return QApplication::focusWidget(); }

// Presses Tab until the focus is inside field; every field passed on the way takes the
// keys in its edit, never in its resting button.
bool TabInto(CAddConnectionDlg& dlg, const char* field) {
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(Focused(), Qt::Key_Tab);
        Pump();
        EXPECT_NE(Focused()->objectName(), "multiControl_btn");
        if (dlg.FindControl(field)->isAncestorOf(Focused())) return true;
    }
    return false;
}

TEST_F(ContactEditorTest, TheKeyboardAloneAddsAContact) {
    CAddConnectionDlg& dlg = OpenEditor();
    ASSERT_TRUE(PumpUntil([&] { return Focused() == dlg.FindControl<FindEdit>("base_name_edit")->Edit(); }));
    QTest::keyClicks(Focused(), "Kevin O'Brien");
    ASSERT_TRUE(TabInto(dlg, "base_phone_edit"));
    QTest::keyClicks(Focused(), "13912345678");
    ASSERT_TRUE(TabInto(dlg, "base_qq_edit"));
    for (int page = kBusinessPage; page <= kRelationsPage; ++page) {
        QTest::keyClick(Focused(), Qt::Key_Return);
        EXPECT_EQ(dlg.CurrentPage(), page);
    }
    MessageLog log;
    QTest::keyClick(Focused() ? Focused() : &dlg, Qt::Key_Return);
    EXPECT_TRUE(PumpUntil([this] { return editor.isNull(); }));
    ASSERT_EQ(AllStored().size(), 1u);
    EXPECT_EQ(AllStored()[0].bc_name, "Kevin O'Brien");
    EXPECT_EQ(AllStored()[0].cell_phone, "13912345678");
}

TEST_F(ContactEditorTest, EscapeClosesTheEditorWithoutSaving) {
    CAddConnectionDlg& dlg = OpenEditor();
    Type(dlg, "base_name_edit", QStringLiteral("张三"));
    QTest::keyClick(Focused() ? Focused() : &dlg, Qt::Key_Escape);
    EXPECT_TRUE(PumpUntil([this] { return editor.isNull(); }));
    EXPECT_TRUE(AllStored().empty());
}

TEST_F(ContactEditorTest, AScreenReaderFindsEveryPageNamedWithItsTabsAndLabelledEdits) {
    BusinessCard card = FullContact();
    CAddConnectionDlg& dlg = OpenEditor(card.bc_id);
    for (int page : {kBasePage, kBusinessPage, kLifePage, kRelationsPage}) {
        SCOPED_TRACE(page);
        dlg.OpenPage(page);
        Pump();
        EXPECT_TRUE(test::AccessibleProblems(&dlg).isEmpty())
            << test::AccessibleProblems(&dlg).join('\n').toStdString();
    }
    dlg.OpenPage(kBasePage);
    Pump();
    const auto nodes = test::WalkAccessible(&dlg);
    const test::AccessibleNode* name = test::FindAccessible(nodes, "base_name_edit");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->role, QAccessible::EditableText);
    EXPECT_EQ(name->name, "姓名");
    EXPECT_EQ(name->value, QString::fromStdString(card.bc_name));
    const test::AccessibleNode* tab = test::FindAccessible(nodes, "business");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->role, QAccessible::PageTab);
    // The hidden pages are not announced as showing.
    EXPECT_EQ(test::FindAccessible(nodes, "business_fax_edit"), nullptr);
}

TEST_F(ContactEditorTest, AContactDeletedMeanwhileIsReportedInsteadOfOpened) {
    QWidget owner;
    owner.show();
    MessageLog log;
    EXPECT_EQ(CAddConnectionDlg::Open(store, &owner, 4242, 0), nullptr);
    EXPECT_EQ(log.shown.size(), 1u);
}

}  // namespace
}  // namespace kivtal::test
