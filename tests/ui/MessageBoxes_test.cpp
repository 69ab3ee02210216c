// The message boxes, the busy notice and the mask, answered through their real buttons.
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "ui/toolkit/GifLabel.h"
#include "ui/support/UiTestSupport.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

using test::AnswerNextModal;
using test::Pump;
using test::PumpUntil;
using test::VisibleWindows;

QString TextOf(WindowImplBase& window, const char* name) {
    QWidget* control = window.FindControl(name);
    if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
    if (auto* edit = qobject_cast<QTextEdit*>(control)) return edit->toPlainText();
    return "<missing>";
}

bool Shown(WindowImplBase& window, const char* name) {
    QWidget* control = window.FindControl(name);
    return control && control->isVisibleTo(&window);
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = new QWidget;
        owner->setGeometry(100, 100, 640, 420);
        owner->show();
    }
    void TearDown() override {
        test::CloseAllWindows();
        delete owner.data();
        Pump();
    }
    QPointer<QWidget> owner;
};

struct AnswerCase {
    int buttons;
    const char* button;
    int expected;
};

TEST_F(MessageBoxTest, TalMsgBoxAnswersOkWithOneAndCancelOrCloseWithTwo) {
    const AnswerCase cases[] = {
        {1, "_btn_ok", 1}, {1, "_btn_cancel", 2}, {1, "btn_close", 2}, {0, "btn_ok", 1}, {0, "btn_close", 2},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.button);
        AnswerNextModal(c.button);
        EXPECT_EQ(ShowTalMsgBox("标题", owner, "正文", c.buttons), c.expected);
    }
}

TEST_F(MessageBoxTest, TalMsgBoxFillsTitleTextAndButtonsByMode) {
    AnswerNextModal("_btn_ok", [](WindowImplBase& box) {
        EXPECT_EQ(box.GetWindowClassName(), "KivTalMessageBox");
        EXPECT_EQ(TextOf(box, "TalTitle"), "确定删除分组吗？");
        EXPECT_FALSE(Shown(box, "title"));
        EXPECT_TRUE(Shown(box, "TalTitle"));
        EXPECT_EQ(TextOf(box, "contentre"), "分组删除后，组里的联系人请到“全部”组中查找。");
        const QTextBlock block = box.FindControl<QTextEdit>("contentre")->document()->firstBlock();
        EXPECT_EQ(block.blockFormat().lineHeight(), 150);
        EXPECT_TRUE(Shown(box, "IDOKCANCEL"));
        EXPECT_FALSE(Shown(box, "IDOK"));
    });
    ShowTalMsgBox("确定删除分组吗？", owner, "分组删除后，组里的联系人请到“全部”组中查找。", 1, 1);

    AnswerNextModal("btn_ok", [](WindowImplBase& box) {
        EXPECT_EQ(TextOf(box, "title"), "温馨提示");  // a null title
        EXPECT_TRUE(Shown(box, "title"));
        EXPECT_FALSE(Shown(box, "TalTitle"));
        EXPECT_FALSE(Shown(box, "IDOKCANCEL"));
        EXPECT_TRUE(Shown(box, "IDOK"));
    });
    ShowTalMsgBox(QString(), owner, "用户账号和密码不能为空", 7, 0);
}

TEST_F(MessageBoxTest, TalMsgBoxWithoutParentNeverBlocksAndReportsOk) {
    // No modal observer is set: a blocking box would hang this test.
    EXPECT_EQ(ShowTalMsgBox("温馨提示", nullptr, "已保存", 1), 1);
    const auto boxes = VisibleWindows("KivTalMessageBox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(TextOf(*boxes[0], "contentre"), "已保存");
    test::ClickControl(*boxes[0], "_btn_cancel");
    Pump();
    EXPECT_TRUE(VisibleWindows("KivTalMessageBox").empty());
}

// While a window runs modally, its owner is blocked and nothing else: a box shown
// without an owner (a device error) and unrelated windows still take clicks.
TEST_F(MessageBoxTest, AModalWindowBlocksOnlyItsOwner) {
    auto* ownerButton = new QPushButton("owner", owner);
    ownerButton->setGeometry(10, 10, 100, 30);
    ownerButton->show();
    QWidget bystander;
    bystander.setGeometry(760, 100, 200, 100);
    auto* bystanderButton = new QPushButton("other", &bystander);
    bystanderButton->setGeometry(10, 10, 100, 30);
    bystander.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bystander));
    int ownerClicks = 0;
    int bystanderClicks = 0;
    QObject::connect(ownerButton, &QPushButton::clicked, [&] { ++ownerClicks; });
    QObject::connect(bystanderButton, &QPushButton::clicked, [&] { ++bystanderClicks; });

    // An owned question box, then a modal window without an owner (as the login window).
    for (const bool owned : {true, false}) {
        ownerClicks = bystanderClicks = 0;
        bool ownerlessAnswered = false;
        WindowImplBase::SetModalObserver([&](WindowImplBase& modal) {
            WindowImplBase::SetModalObserver({});
            ShowTalMsgBox("温馨提示", nullptr, "扫描仪不见了");
            const auto boxes = VisibleWindows("KivTalMessageBox");
            for (WindowImplBase* box : boxes) {
                if (box == &modal) continue;
                QPointer<WindowImplBase> ownerless(box);
                test::ClickControl(*box, "btn_ok");
                Pump();
                ownerlessAnswered = ownerless.isNull() || ownerless->IsClosing();
            }
            test::ClickThroughWindow(ownerButton);
            test::ClickThroughWindow(bystanderButton);
            test::ClickControl(modal, owned ? "_btn_ok" : "okbtn");
        });
        EXPECT_EQ(owned ? ShowTalMsgBox("温馨提示", owner, "要删除吗？", 1) : ShowMessageBox(nullptr, "连接失败"), 1);
        EXPECT_TRUE(ownerlessAnswered) << owned;
        EXPECT_EQ(bystanderClicks, 1) << owned;
        EXPECT_EQ(ownerClicks, owned ? 0 : 1);
    }
    test::ClickThroughWindow(ownerButton);  // free again once the modal window closed
    EXPECT_EQ(ownerClicks, 2);
}

TEST_F(MessageBoxTest, ConnectionFailureBoxClosesWithOneFromEitherButton) {
    for (const char* button : {"okbtn", "btn_close"}) {
        AnswerNextModal(button, [](WindowImplBase& box) {
            EXPECT_EQ(TextOf(box, "title"), "连接失败");
            EXPECT_EQ(TextOf(box, "contentre"), "糟糕！扫描仪不见了请检查数据线是否脱落");
        });
        EXPECT_EQ(ShowMessageBox(owner, "糟糕！扫描仪不见了请检查数据线是否脱落"), 1);
    }
}

TEST_F(MessageBoxTest, SecondBusyNoticeReturnsAtOnceAndCloseEndsTheFirst) {
    bool secondOpened = true;
    size_t noticesDuringSecond = 0;
    WindowImplBase::SetModalObserver([&](WindowImplBase& notice) {
        WindowImplBase::SetModalObserver({});
        EXPECT_EQ(notice.windowTitle(), "Kivtal v1.0");
        EXPECT_TRUE(IsBusyNoticeOpen());
        secondOpened = ShowBusyNotice(owner);
        noticesDuringSecond = VisibleWindows("LoginMsgBox").size();
        CloseBusyNotice();
    });
    EXPECT_TRUE(ShowBusyNotice(owner));
    EXPECT_FALSE(secondOpened);
    EXPECT_EQ(noticesDuringSecond, 1u);
    EXPECT_FALSE(IsBusyNoticeOpen());
    CloseBusyNotice();  // nothing open: nothing happens
}

TEST_F(MessageBoxTest, NoticeBoxAnimatesOnTimer131AndSwitchesViews) {
    CLoginMsgBoxWnd* box = CreateNoticeBox(owner, kNoticeCaption);
    ASSERT_NE(box, nullptr);
    QPointer<CLoginMsgBoxWnd> alive(box);
    box->SetTipText("用户密码或账号错误。");
    box->ShowWindow();
    EXPECT_EQ(TextOf(*box, "title_msg"), "Kivtal v1.0");
    EXPECT_TRUE(Shown(*box, "Gif_control"));
    EXPECT_FALSE(Shown(*box, "normal_control"));
    auto* gif = box->FindControl<GifLabel>("giftabel");
    const int frame = gif->CurrentFrame();
    EXPECT_TRUE(PumpUntil([&] { return gif->CurrentFrame() != frame; }));

    box->ShowMessageView();
    EXPECT_FALSE(Shown(*box, "Gif_control"));
    EXPECT_TRUE(Shown(*box, "normal_control"));
    EXPECT_EQ(TextOf(*box, "tip_msg"), "用户密码或账号错误。");

    box->ShowAnimationView();  // "okbtn" belongs to the message view
    test::ClickControl(*box, "btn_close");
    EXPECT_FALSE(box->IsTimerRunning(kNoticeAnimationTimer));  // final teardown
    Pump();
    EXPECT_TRUE(alive.isNull());
}

class MaskTest : public MessageBoxTest {
protected:
    void SetUp() override {
        MessageBoxTest::SetUp();
        mask = CreateMask(owner);
        ASSERT_NE(mask, nullptr);
    }
    QPointer<CMaskDlg> mask;
};

TEST_F(MaskTest, BusyTwiceShowsOneNoticeOverTheCoveredOwner) {
    EXPECT_EQ(mask->windowTitle(), "蒙版");
    EXPECT_FALSE(mask->isVisible());
    EXPECT_EQ(mask->Text(), "Loading...");
    mask->SetText("请稍候");
    mask->PostMessage(WM_UI_MASK_BUSY);
    mask->PostMessage(WM_UI_MASK_BUSY);
    Pump();

    EXPECT_TRUE(mask->isVisible());
    EXPECT_EQ(mask->geometry(), owner->geometry());
    ASSERT_EQ(VisibleWindows("LoginMsgBox").size(), 1u);
    CLoginMsgBoxWnd* notice = mask->NoticeBox();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->windowTitle(), "Kivtal v1.0");
    EXPECT_EQ(TextOf(*notice, "title_msg"), "请稍候");
    EXPECT_TRUE(notice->IsAnimationView());
    const QPoint centred = mask->geometry().center() - QPoint(notice->width() / 2, notice->height() / 2);
    EXPECT_EQ(notice->pos(), centred + QPoint(0, 25));

    mask->PostMessage(WM_UI_MASK_IDLE);
    Pump();
    EXPECT_FALSE(mask->isVisible());
    EXPECT_EQ(mask->NoticeBox(), nullptr);
    EXPECT_TRUE(VisibleWindows("LoginMsgBox").empty());
}

TEST_F(MaskTest, IdleWithoutBusyOnlyHidesTheMask) {
    mask->CoverOwner();
    ASSERT_TRUE(mask->isVisible());
    mask->PostMessage(WM_UI_MASK_IDLE);
    Pump();
    EXPECT_FALSE(mask->isVisible());
    EXPECT_FALSE(mask.isNull());
    EXPECT_TRUE(VisibleWindows("LoginMsgBox").empty());
}

TEST_F(MaskTest, ANoticeTheUserClosedIsForgottenSafely) {
    mask->PostMessage(WM_UI_MASK_BUSY);
    Pump();
    ASSERT_NE(mask->NoticeBox(), nullptr);
    test::ClickControl(*mask->NoticeBox(), "btn_close");
    Pump();
    EXPECT_EQ(mask->NoticeBox(), nullptr);
    mask->PostMessage(WM_UI_MASK_BUSY);  // a later busy opens a fresh notice
    Pump();
    EXPECT_EQ(VisibleWindows("LoginMsgBox").size(), 1u);
    mask->PostMessage(WM_UI_MASK_IDLE);
    Pump();
    EXPECT_TRUE(VisibleWindows("LoginMsgBox").empty());
}

TEST_F(MaskTest, SyncBusyDisplayPostsIdleOnlyAfterBusy) {
    bool busy = false;
    mask->CoverOwner();
    LeaveSyncBusy(mask, busy);  // never entered: the mask is left alone
    Pump();
    EXPECT_TRUE(mask->isVisible());

    EnterSyncBusy(mask, busy);
    Pump();
    EXPECT_TRUE(busy);
    EXPECT_EQ(mask->Text(), "数据正在同步，请勿关闭客户端或者关闭计算机。");
    ASSERT_NE(mask->NoticeBox(), nullptr);
    EXPECT_EQ(TextOf(*mask->NoticeBox(), "title_msg"), "数据正在同步，请勿关闭客户端或者关闭计算机。");

    LeaveSyncBusy(mask, busy);
    Pump();
    EXPECT_FALSE(busy);
    EXPECT_FALSE(mask->isVisible());
    EXPECT_EQ(mask->NoticeBox(), nullptr);
}

TEST_F(MaskTest, TheMaskSwallowsPressesAndNeverTakesTheFocus) {
    mask->CoverOwner();
    EXPECT_TRUE(mask->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_EQ(mask->focusPolicy(), Qt::NoFocus);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), mask->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    press.ignore();
    QCoreApplication::sendEvent(mask, &press);
    EXPECT_TRUE(press.isAccepted());
}

}  // namespace
}  // namespace kivtal
