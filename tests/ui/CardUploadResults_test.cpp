// The main window's reaction to the upload pass's results, with a capture control
// open in a window of its own (as the contact editor hosts it).
#include "net/ContentJobs.h"
#include "ui/support/CameraFixture.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

using test::BoxAnswer;
using test::Pump;
using test::PumpUntil;

class UploadResults : public test::CameraFixture {
protected:
    CHomePage& OpenHome() {
        home = new CHomePage(store);
        home->SetWorkerLink(&worker);
        EXPECT_TRUE(home->Create(nullptr, kHomeTitle));
        home->ShowWindow(true);
        EXPECT_TRUE(PumpUntil([this] { return worker.resultWindow == home->GetHandle(); }));
        return *home;
    }
    void Result(int code, int imgId) {
        home->SendMessage(WM_RES_SECRETARY_UPLOAD, code, imgId);
        Pump();
    }
    std::vector<int> States() const {
        std::vector<int> states;
        for (const UploadItem& item : camera->Items().Items()) states.push_back(item.state);
        return states;
    }

    QPointer<CHomePage> home;
};

TEST_F(UploadResults, UploadedPictureLeavesTheQueueAndThePassGoesOn) {
    OpenHome();
    Open();
    const int first = KeepShot();
    KeepShot();
    UploadQueue::Instance().SetState(first, UploadQueue::kUploaded);  // as the pass left it
    const int requests = worker.Count(WM_REQ_SECRETARY_UPLOAD);
    Result(12, first);
    EXPECT_EQ(States(), (std::vector<int>{kItemUploaded, kItemWaiting}));
    ASSERT_EQ(UploadQueue::Instance().Snapshot().size(), 1u);
    EXPECT_NE(UploadQueue::Instance().Snapshot()[0].img_id, first);
    EXPECT_EQ(worker.Count(WM_REQ_SECRETARY_UPLOAD), requests + 1);
}

TEST_F(UploadResults, RefusedPictureFailsAloneAndOtherErrorsFailEveryItem) {
    OpenHome();
    Open();
    const int first = KeepShot();
    KeepShot();
    Result(kUploadFailed, first);
    EXPECT_EQ(States(), (std::vector<int>{kItemFailed, kItemWaiting}));
    Result(-5, 0);
    EXPECT_EQ(States(), (std::vector<int>{kItemFailed, kItemFailed}));
    // Failed in the queue too, so a retry can put them back.
    for (const SecretaryImg& img : UploadQueue::Instance().Snapshot()) EXPECT_EQ(img.img_state, UploadQueue::kFailed);
    EXPECT_EQ(Rows("SELECT count(*) FROM tb_secretary_img WHERE img_state=2;").integer(0, 0), 2);
}

TEST_F(UploadResults, NoNetworkFailsEveryItemTellsTheUserAndClosesTheEditor) {
    OpenHome();
    Open();
    KeepShot();
    KeepShot();
    const int requests = worker.Count(WM_REQ_SECRETARY_UPLOAD);
    QPointer<CCameraUI> control = camera;
    std::vector<int> statesWhileTold;
    BoxAnswer told;
    WindowImplBase::SetModalObserver([&](WindowImplBase& box) {
        WindowImplBase::SetModalObserver({});
        statesWhileTold = States();
        told.text = ControlText(box.FindControl("contentre"));
        told.title = ControlText(box.FindControl("title"));
        test::ClickControl(box, "btn_ok");
    });
    Result(kResultNoNetwork, 0);
    EXPECT_EQ(told.text, "网络错误，上传失败，请检查网络连接后再试");
    EXPECT_EQ(told.title, "温馨提示");
    EXPECT_EQ(statesWhileTold, (std::vector<int>{kItemFailed, kItemFailed}));
    EXPECT_TRUE(PumpUntil([&] { return host.isNull(); }));
    EXPECT_TRUE(control.isNull());
    EXPECT_EQ(worker.Count(WM_REQ_SECRETARY_UPLOAD), requests);  // no pass without a network
    EXPECT_FALSE(home.isNull());
}

TEST_F(UploadResults, NoNetworkWithoutAnEditorIsStillTold) {
    OpenHome();
    BoxAnswer told;
    Result(kResultNoNetwork, 0);
    EXPECT_EQ(told.text, "网络错误，上传失败，请检查网络连接后再试");
}

}  // namespace
}  // namespace kivtal
