// The own profile editor: its opening sync, the save sequence (sync, then the profile
// request) with every outcome, and the fields it fills from the profile.
#include <QComboBox>
#include <deque>

#include "store/AccountStore.h"
#include "ui/editors/UserInforEditWnd.h"
#include "ui/support/EditorFixture.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/WindowRegistry.h"

namespace kivtal::test {
namespace {

// Answers each request like the worker would: later, by a posted result, to the window
// that was the result window when the job ended.
class ScriptedWorker : public WorkerLink {
public:
    void Post(WorkerRequest request) override {
        requests.push_back(request);
        int code = 0;
        unsigned result = WM_RES_SYNC;
        if (request.message == WM_REQ_SYNC_MODIFY_USER_INFO) {
            result = WM_RES_SYNC_USER_INFO;
            code = profileResult;
        } else if (!syncResults.empty()) {
            code = syncResults.front();
            syncResults.pop_front();
        }
        WindowRegistry::Post(resultWindow, result, code, 0);
    }
    void SetResultWindow(WindowHandle window) override { resultWindow = window; }

    std::deque<int> syncResults;  // one per sync request, then 0
    int profileResult = 0;
    std::vector<WorkerRequest> requests;
    WindowHandle resultWindow = 0;
};

class ProfileEditorTest : public EditorFixture {
protected:
    void StoreProfile(const std::string& columns, const std::string& values) {
        Exec("INSERT INTO tb_user (user_id, user_server_id, login_name, " + columns + ") VALUES (7, 70, 'tester', " +
             values + ");");
    }

    CUserInforEditWnd& OpenEditor() {
        UserInfo profile;
        EXPECT_EQ(AccountStore(store).ReadProfile(profile), 0);
        wnd = new CUserInforEditWnd(store, profile);
        wnd->SetWorkerLink(&scripted);
        wnd->SetReturnWindow(kMainWindow);
        EXPECT_TRUE(wnd->Create(nullptr, QStringLiteral("个人资料修改")));
        wnd->ShowWindow(true);
        // The opening sync is answered and the results handed back.
        EXPECT_TRUE(PumpUntil([this] { return scripted.resultWindow == kMainWindow; }));
        ClickControl(*wnd, "edit_btn");
        return *wnd;
    }

    void Save() {
        ClickControl(*wnd, "Save_button");
        PumpUntil([] { return !IsBusyNoticeOpen(); });
        Pump();
    }

    static constexpr WindowHandle kMainWindow = 4711;
    ScriptedWorker scripted;
    QPointer<CUserInforEditWnd> wnd;
};

TEST_F(ProfileEditorTest, TheSaveSyncsFirstThenSendsTheTypedProfileAndClosesWhenAccepted) {
    StoreProfile("username, cell_phone, area_id, title", "'张晓明', '13812345678', 310104, 1");
    CUserInforEditWnd& dlg = OpenEditor();
    EXPECT_EQ(dlg.FindControl<QComboBox>("country_combo")->currentText(), QStringLiteral("上海市"));
    EXPECT_EQ(dlg.FindControl<QComboBox>("province_combo")->currentText(), QStringLiteral("徐汇区"));
    Type(dlg, "company_edit", QStringLiteral("远景贸易"));
    MessageLog log;
    Save();
    EXPECT_TRUE(PumpUntil([this] { return wnd.isNull(); }));
    EXPECT_TRUE(log.shown.empty());

    ASSERT_EQ(scripted.requests.size(), 3u);
    EXPECT_EQ(scripted.requests[0].reason, SYNC_BY_USER);  // opening
    EXPECT_EQ(scripted.requests[1].reason, SYNC_BY_USER);  // save
    ASSERT_EQ(scripted.requests[2].message, WM_REQ_SYNC_MODIFY_USER_INFO);
    const UserInfo& sent = std::get<UserInfo>(scripted.requests[2].payload);
    EXPECT_EQ(sent.user_id, 7);
    EXPECT_EQ(sent.user_server_id, 70);
    EXPECT_EQ(sent.username, "张晓明");
    EXPECT_EQ(sent.company1, "远景贸易");
    EXPECT_EQ(sent.area_id, 310104);  // a district without children is stored again
    EXPECT_EQ(sent.birthday, "");
    EXPECT_EQ(scripted.resultWindow, kMainWindow);
}

TEST_F(ProfileEditorTest, TheSaveSendsOnlyTheTypedFieldsOverWhatASyncBroughtMeanwhile) {
    StoreProfile("username, company1, fax", "'张晓明', '旧公司', ''");
    CUserInforEditWnd& dlg = OpenEditor();
    // Another device's company arrives by a sync while the form is open.
    Exec("UPDATE tb_user SET company1='新公司' WHERE user_id=7;");
    Type(dlg, "fax_phone", QStringLiteral("021-12345678"));
    Save();
    ASSERT_EQ(scripted.requests.size(), 3u);
    ASSERT_EQ(scripted.requests[2].message, WM_REQ_SYNC_MODIFY_USER_INFO);
    const UserInfo& sent = std::get<UserInfo>(scripted.requests[2].payload);
    EXPECT_EQ(sent.company1, "新公司");
    EXPECT_EQ(sent.fax, "021-12345678");
    EXPECT_EQ(sent.username, "张晓明");
}

TEST_F(ProfileEditorTest, EachRefusalKeepsTheEditorOpenWithItsMessage) {
    struct Case {
        const char* what;
        int syncResult;
        int profileResult;
        const char* message;
        bool profileSent;
        int status;
    } const cases[] = {
        {"sync fails", kResultNoNetwork, 0, "服务器出错，请稍后重试", false, CUserInforEditWnd::kFailed},
        {"certified name", 0, 2007, "您的姓名以及实名认证成功，无法修改姓名", true, CUserInforEditWnd::kNameCertified},
        {"no network for the profile", 0, kResultNoNetwork, "服务器异常，请稍后再试", true, CUserInforEditWnd::kFailed},
        {"service error", 0, 1001, "服务器异常，请稍后再试", true, CUserInforEditWnd::kFailed},
    };
    StoreProfile("username, cell_phone", "'张晓明', '13812345678'");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scripted.requests.clear();
        CUserInforEditWnd& dlg = OpenEditor();
        scripted.syncResults = {c.syncResult};
        scripted.profileResult = c.profileResult;
        Type(dlg, "user_name_edit", QStringLiteral("张小明"));
        MessageLog log;
        Save();
        EXPECT_EQ(log.shown, (std::vector<Shown>{{"温馨提示", c.message}}));
        ASSERT_FALSE(wnd.isNull());
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_FALSE(dlg.Saving());
        EXPECT_FALSE(IsBusyNoticeOpen());
        EXPECT_EQ(FieldText(dlg, "user_name_edit"), QStringLiteral("张小明"));
        int sent = 0;
        for (const WorkerRequest& r : scripted.requests) sent += r.message == WM_REQ_SYNC_MODIFY_USER_INFO;
        EXPECT_EQ(sent, c.profileSent ? 1 : 0);
        if (c.profileSent) {
            EXPECT_EQ(dlg.Status(), c.status);
        }
        dlg.Close(1);
        Pump();
    }
}

TEST_F(ProfileEditorTest, FieldRulesUseTheProfileLabelsAndStopBeforeAnyRequest) {
    StoreProfile("username", "'张晓明'");
    struct Case {
        const char* field;
        const char* text;
        const char* message;
    } const cases[] = {
        {"user_name_edit", "阿😀明", "名字不能含有“😀”"},
        {"user_phone", "12912345678", "手机号码输入的格式有误，请重新输入"},
        {"fax_phone", "(021)", "传真输入的格式有误，请重新输入"},
        {"home_phone", "+86", "固定电话输入的格式有误，请重新输入"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        scripted.requests.clear();
        CUserInforEditWnd& dlg = OpenEditor();
        Type(dlg, c.field, QString::fromUtf8(c.text));
        MessageLog log;
        ClickControl(dlg, "Save_button");
        Pump();
        EXPECT_EQ(log.shown, (std::vector<Shown>{{"温馨提示", c.message}}));
        EXPECT_EQ(scripted.requests.size(), 1u);  // the opening sync only
        dlg.Close(1);
        Pump();
    }
}

TEST_F(ProfileEditorTest, ACertifiedNameCannotBeTypedInto) {
    StoreProfile("username, certification", "'张晓明', 1");
    CUserInforEditWnd& dlg = OpenEditor();
    EXPECT_FALSE(dlg.FindControl("user_name_edit")->isEnabled());
    EXPECT_TRUE(dlg.FindControl("user_phone")->isEnabled());
}

TEST_F(ProfileEditorTest, TheOpeningSyncRefreshesTheFormUntilTheUserEdits) {
    StoreProfile("username", "'张晓明'");
    UserInfo profile;
    ASSERT_EQ(AccountStore(store).ReadProfile(profile), 0);
    wnd = new CUserInforEditWnd(store, profile);
    wnd->SetWorkerLink(&scripted);
    ASSERT_TRUE(wnd->Create(nullptr, QStringLiteral("个人资料修改")));
    // The sync brings a name changed on another device before its answer arrives.
    Exec("UPDATE tb_user SET username='张明' WHERE user_id=7;");
    wnd->ShowWindow(true);
    ASSERT_TRUE(PumpUntil([this] { return ControlText(wnd->FindControl("show_name")) == QStringLiteral("张明"); }));
    EXPECT_EQ(FieldText(*wnd, "user_name_edit"), QStringLiteral("张明"));
}

}  // namespace
}  // namespace kivtal::test
