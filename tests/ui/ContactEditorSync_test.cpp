// A contact typed into the editor on one device reaches a second device of the same
// account through the reference service: the editor's sync request runs the real sync
// job, and the second device is the command-line client over its own data folder.
#include <memory>

#include "e2e/CoreDevice.h"
#include "e2e/Device.h"
#include "e2e/ServiceProcess.h"
#include "net/SyncRun.h"
#include "ui/editors/AddConnectionDlg.h"
#include "ui/editors/BankRows.h"
#include "ui/support/EditorFixture.h"

namespace kivtal::test {
namespace {

// Runs the sync job the worker would start, at once, on the calling thread.
class InlineSyncLink : public WorkerLink {
public:
    explicit InlineSyncLink(e2e::CoreDevice& device) : device_(device) {}
    void Post(WorkerRequest request) override {
        if (request.message != WM_REQ_SYNC) return;
        JobContext ctx = device_.context();
        results.push_back(runSync(ctx));
    }
    void SetResultWindow(WindowHandle) override {}

    std::vector<int> results;

private:
    e2e::CoreDevice& device_;
};

// One account on a reference service started for the test; device A runs the core.
class ContactEditorSync : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(service.op({"--add-account", "zhang", "pw-zhang"}), 0);
        ASSERT_TRUE(service.start()) << e2e::ReadFile(service.outPath());
        a = std::make_unique<e2e::CoreDevice>("device-A", service.url());
        ASSERT_EQ(a->login("zhang", "pw-zhang"), 0);
    }
    void TearDown() override {
        CloseAllWindows();
        LoginUser::Instance().reset();
    }

    TempDir folder;
    e2e::ServiceProcess service{folder.path()};
    std::unique_ptr<e2e::CoreDevice> a;  // made once the service has its port
};

TEST_F(ContactEditorSync, ANewContactArrivesOnTheSecondDevice) {
    InlineSyncLink link(*a);

    QPointer<CAddConnectionDlg> dlg = CAddConnectionDlg::Open(a->store(), nullptr, 0, 0);
    ASSERT_NE(dlg, nullptr);
    dlg->SetWorkerLink(&link);
    dlg->ShowWindow(true);
    ASSERT_TRUE(PumpUntil([&] { return dlg->Initialised(); }));
    Type(*dlg, "base_name_edit", QStringLiteral("王五"));
    Type(*dlg, "base_phone_edit", QStringLiteral("13700001111"));
    Type(*dlg, "base_company_edit", QStringLiteral("甲公司"));
    dlg->OpenPage(kBusinessPage);
    Type(*dlg, "bank_name_edit", QStringLiteral("中国银行"));
    Type(*dlg, "bank_card_edit", QStringLiteral("6222000011112222"));
    ASSERT_TRUE(dlg->Save());
    EXPECT_EQ(link.results, std::vector<int>{0});

    e2e::Device b("device-B", service.url());
    ASSERT_EQ(b.run({"login", "zhang", "pw-zhang"}).exitCode(), 0);
    b.sync();
    const Json::Value list = b.json({"contacts", "list"});
    ASSERT_EQ(list.size(), 1u);
    const Json::Value card = b.json({"contacts", "show", std::to_string(list[0]["id"].asInt())});
    ASSERT_EQ(card.size(), 1u);
    EXPECT_EQ(card[0]["name"].asString(), "王五");
    EXPECT_EQ(card[0]["company"].asString(), "甲公司");
    ASSERT_EQ(card[0]["banks"].size(), 1u);
    EXPECT_EQ(card[0]["banks"][0]["card"].asString(), "6222000011112222");
}

// The editor is open on device A while device B's edit of another field arrives there;
// saving A's own change must not undo B's, neither on A nor, through the upload, on B.
TEST_F(ContactEditorSync, ASaveKeepsAFieldAnotherDeviceChangedWhileTheEditorWasOpen) {
    e2e::Device b("device-B", service.url());
    ASSERT_EQ(b.run({"login", "zhang", "pw-zhang"}).exitCode(), 0);
    const int onB = b.add({"contacts", "add", "--name", "王五", "--mobile", "13700001111", "--company", "甲公司",
                           "--bank", "中国银行|||6222|王五"});
    ASSERT_GT(onB, 0);
    b.sync();
    JobContext ctx = a->context();
    ASSERT_EQ(runSync(ctx), 0);
    BusinessCardList onA;
    ASSERT_EQ(ContactStore(a->store()).AllContacts(onA), 0);
    ASSERT_EQ(onA.size(), 1u);

    InlineSyncLink link(*a);
    QPointer<CAddConnectionDlg> dlg = CAddConnectionDlg::Open(a->store(), nullptr, onA[0].bc_id, 0);
    ASSERT_NE(dlg, nullptr);
    dlg->SetWorkerLink(&link);
    dlg->ShowWindow(true);
    ASSERT_TRUE(PumpUntil([&] { return dlg->Initialised(); }));
    // Meanwhile B changes the company, and A's sync brings it in.
    ASSERT_EQ(b.run({"contacts", "edit", std::to_string(onB), "--company", "乙公司"}).exitCode(), 0);
    b.sync();
    ASSERT_EQ(runSync(ctx), 0);
    Type(*dlg, "base_net_edit", QStringLiteral("www.example.cn"));
    ASSERT_TRUE(dlg->Save());
    EXPECT_EQ(link.results, std::vector<int>{0});

    BusinessCard stored;
    ASSERT_EQ(ContactStore(a->store()).ContactById(onA[0].bc_id, stored), 0);
    EXPECT_EQ(stored.company_name, "乙公司");
    EXPECT_EQ(stored.web_site, "www.example.cn");
    b.sync();
    const Json::Value card = b.json({"contacts", "show", std::to_string(onB)});
    ASSERT_EQ(card.size(), 1u);
    EXPECT_EQ(card[0]["company"].asString(), "乙公司");
    EXPECT_EQ(card[0]["web_site"].asString(), "www.example.cn");
}

}  // namespace
}  // namespace kivtal::test
