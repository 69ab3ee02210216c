// The window base on real (offscreen) windows: notifications from real controls,
// numbered messages across threads, timers, the modal loop and result delivery.
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include "net/WorkerMessages.h"
#include "ui/controls/ComboKiv.h"
#include "ui/controls/FindEdit.h"
#include "ui/support/UiTestSupport.h"
#include "ui/toolkit/AfterFirstPaint.h"
#include "ui/toolkit/SkinLoader.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowRegistry.h"

namespace kivtal {
namespace {

using test::Pump;
using test::PumpUntil;

struct Received {
    unsigned number;
    std::intptr_t wParam;
    std::intptr_t lParam;
    bool onUiThread;
};

// What a probe saw; shared so it outlives the window.
struct ProbeLog {
    std::vector<std::pair<QString, QString>> notes;  // (type, sender name)
    std::vector<Received> messages;
    std::vector<int> values;        // of kValueMessage
    bool checkOnKillFocus = false;  // a field check that answers with a box, as editors do
    int boxes = 0;
};

constexpr unsigned kValueMessage = WM_USER + 50;

class ProbeWindow : public WindowImplBase {
public:
    explicit ProbeWindow(std::shared_ptr<ProbeLog> log) : log_(std::move(log)) {}
    QString GetSkinFile() const override { return QStringLiteral("ToolkitProbe.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ToolkitProbe"); }

protected:
    void Notify(const QString& type, QWidget* sender) override {
        log_->notes.emplace_back(type, sender ? sender->objectName() : QString());
        if (type == "killfocus" && log_->checkOnKillFocus) {
            ++log_->boxes;
            ShowTalMsgBox({}, this, "格式不正确");
        }
    }
    std::intptr_t HandleCustomMessage(unsigned number, std::intptr_t w, std::intptr_t l, bool& handled) override {
        log_->messages.push_back({number, w, l, QThread::currentThread() == qApp->thread()});
        if (number == kValueMessage) log_->values.push_back(*MessageValue<std::shared_ptr<int>>(l));
        handled = true;
        return static_cast<std::intptr_t>(number) + w;
    }

private:
    std::shared_ptr<ProbeLog> log_;
};

class WindowToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        log = std::make_shared<ProbeLog>();
        window = new ProbeWindow(log);
        ASSERT_TRUE(window->Create(nullptr, QStringLiteral("probe")));
    }
    void TearDown() override { test::CloseAllWindows(); }

    void ShowActive() {
        window->ShowWindow();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.data()));
    }
    bool Saw(const QString& type, const QString& sender) const {
        for (const auto& [t, s] : log->notes)
            if (t == type && s == sender) return true;
        return false;
    }

    std::shared_ptr<ProbeLog> log;
    QPointer<ProbeWindow> window;
};

TEST_F(WindowToolkitTest, WindowInitArrivesOnceOnFirstShow) {
    EXPECT_TRUE(log->notes.empty());
    window->ShowWindow();
    window->ShowWindow(false);
    window->ShowWindow();
    EXPECT_EQ(std::count(log->notes.begin(), log->notes.end(),
                         std::make_pair(QStringLiteral("windowinit"), QStringLiteral("ToolkitProbe"))),
              1);
}

// A step that waits for a window's first paint runs once, after it; a window that is
// never painted gets it after the wait, and a window that goes first never does.
TEST_F(WindowToolkitTest, AfterFirstPaintRunsOnceAfterThePaintOrTheWait) {
    class PaintCount : public QWidget {
    public:
        int paints = 0;

    protected:
        void paintEvent(QPaintEvent*) override { ++paints; }
    };
    PaintCount shown;
    int paintsSeen = -1, runs = 0;
    AfterFirstPaint(
        &shown, [&] { paintsSeen = shown.paints, ++runs; }, 10000);
    shown.show();
    EXPECT_TRUE(test::PumpUntil([&] { return runs == 1; }));
    EXPECT_GE(paintsSeen, 1);
    shown.update();
    test::Pump();
    EXPECT_EQ(runs, 1);

    QWidget hidden;
    bool late = false;
    AfterFirstPaint(
        &hidden, [&] { late = true; }, 50);
    EXPECT_TRUE(test::PumpUntil([&] { return late; }));

    bool ran = false;
    auto* gone = new QWidget;
    AfterFirstPaint(
        gone, [&] { ran = true; }, 20);
    delete gone;
    QTest::qWait(60);
    EXPECT_FALSE(ran);
}

TEST_F(WindowToolkitTest, ControlsNotifyByTheirLayoutNames) {
    ShowActive();
    test::ClickControl(*window, "probe_btn");
    auto* edit = window->FindControl<QLineEdit>("probe_edit");
    edit->setFocus();
    QTest::keyClicks(edit, "ab");
    QTest::keyClick(edit, Qt::Key_Return);
    window->FindControl("probe_edit2")->setFocus();
    Pump();

    EXPECT_TRUE(Saw("click", "probe_btn"));
    EXPECT_TRUE(Saw("setfocus", "probe_edit"));
    EXPECT_TRUE(Saw("textchanged", "probe_edit"));
    EXPECT_TRUE(Saw("return", "probe_edit"));
    EXPECT_TRUE(Saw("killfocus", "probe_edit"));
    EXPECT_TRUE(Saw("setfocus", "probe_edit2"));
}

// Focus notifications follow the focus between the window's controls; other windows
// taking and giving back the activation are no focus change.
TEST_F(WindowToolkitTest, FocusNotificationsIgnoreActivationChanges) {
    ShowActive();
    auto* edit = window->FindControl("probe_edit");
    edit->setFocus();
    Pump();
    const auto focusNotes = [&] {
        std::vector<std::pair<QString, QString>> notes;
        for (const auto& note : log->notes)
            if (note.first == "setfocus" || note.first == "killfocus") notes.push_back(note);
        return notes;
    };
    ASSERT_EQ(focusNotes().back(), std::make_pair(QStringLiteral("setfocus"), QStringLiteral("probe_edit")));
    log->notes.clear();

    QWidget other;  // another program's window, say
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    ShowActive();
    auto* combo = window->FindControl<ComboKiv>("probe_combo");
    combo->AddItem("甲", 1);
    combo->showPopup();  // the popup takes the focus
    Pump();
    combo->hidePopup();
    Pump();
    ASSERT_TRUE(focusNotes().empty());

    // A check on "killfocus" that opens a box runs once, not again for its own box.
    log->checkOnKillFocus = true;
    WindowImplBase::SetModalObserver([](WindowImplBase& box) { test::ClickControl(box, "btn_ok"); });
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_TRUE(PumpUntil([&] { return test::VisibleWindows("KivTalMessageBox").empty(); }));
    ShowActive();
    Pump();
    EXPECT_EQ(log->boxes, 1);
    const auto notes = focusNotes();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], std::make_pair(QStringLiteral("killfocus"), QStringLiteral("probe_edit")));
    EXPECT_EQ(notes[1], std::make_pair(QStringLiteral("setfocus"), QStringLiteral("probe_edit2")));
}

TEST_F(WindowToolkitTest, EveryWindowShowsTheSkinsIcon) {
    const QImage skinIcon = QIcon(kSkinIconFile).pixmap(32).toImage();
    ASSERT_FALSE(skinIcon.isNull());
    auto* owned = new ProbeWindow(log);
    ASSERT_TRUE(owned->Create(window, QStringLiteral("owned")));
    for (QWidget* w : {static_cast<QWidget*>(window.data()), static_cast<QWidget*>(owned)})
        EXPECT_EQ(w->windowIcon().pixmap(32).toImage(), skinIcon);
    EXPECT_EQ(QGuiApplication::desktopFileName(), "kivtal");
}

TEST_F(WindowToolkitTest, FindControlSeesOnlyItsOwnWindow) {
    auto* owned = new ProbeWindow(log);
    ASSERT_TRUE(owned->Create(window, QStringLiteral("owned")));
    EXPECT_NE(window->FindControl("probe_btn"), owned->FindControl("probe_btn"));
    EXPECT_EQ(window->FindControl("probe_btn")->window(), window.data());
    EXPECT_EQ(window->FindControl("no_such_control"), nullptr);
}

TEST_F(WindowToolkitTest, FillingAComboChoosesNothingOnlyTheUsersPickNotifies) {
    auto* combo = window->FindControl<ComboKiv>("probe_combo");
    ASSERT_NE(combo, nullptr);
    ShowActive();
    combo->AddItem("甲", 10);
    combo->AddItem("乙", 20);
    EXPECT_EQ(combo->GetSelection(), -1);
    EXPECT_EQ(combo->currentText(), "");
    combo->SelectValue(20);
    EXPECT_EQ(combo->GetSelection(), 20);
    combo->RemoveAll();
    combo->AddItem("丙", 30);
    combo->AddItem("丁", 40);
    EXPECT_EQ(combo->GetSelection(), -1);
    Pump();
    EXPECT_FALSE(Saw("itemselect", "probe_combo"));
    EXPECT_TRUE(log->messages.empty());

    // The user's choice, with the keyboard on the closed picker.
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    Pump();
    EXPECT_EQ(combo->GetSelection(), 30);
    EXPECT_TRUE(Saw("itemselect", "probe_combo"));
    ASSERT_EQ(log->messages.size(), 1u);
    EXPECT_EQ(log->messages[0].number, WM_COMBO_PICKED);
    EXPECT_EQ(log->messages[0].wParam, 30);
    EXPECT_EQ(ComboKiv::FromMessage(log->messages[0].lParam), combo);
}

TEST_F(WindowToolkitTest, FindEditReadsEmptyWhileShowingItsDefaultText) {
    auto* field = window->FindControl<FindEdit>("probe_find");
    ASSERT_NE(field, nullptr);
    field->SetDefaultText("联系人的开户银行");
    EXPECT_EQ(field->GetText(), "");
    EXPECT_EQ(field->Display()->text(), "联系人的开户银行");
    field->SetText("联系人的开户银行");
    EXPECT_EQ(field->GetText(), "");
    field->SetText("工商银行");
    EXPECT_EQ(field->GetText(), "工商银行");

    ShowActive();
    test::ClickThroughWindow(field->Display());
    EXPECT_TRUE(field->IsEditing());
    window->FindControl("probe_edit")->setFocus();
    Pump();
    EXPECT_FALSE(field->IsEditing());
    EXPECT_TRUE(Saw("killfocus", "multiControl_edit"));
}

TEST_F(WindowToolkitTest, MessagesPostedFromAnotherThreadArriveInOrderOnTheUiThread) {
    constexpr int kCount = 500;
    std::thread poster([h = window->GetHandle()] {
        for (int i = 0; i < kCount; ++i) WindowRegistry::Post(h, WM_USER + 1, i, -i);
    });
    poster.join();
    ASSERT_TRUE(PumpUntil([&] { return log->messages.size() == kCount; }));
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(log->messages[i].wParam, i);
        EXPECT_EQ(log->messages[i].lParam, -i);
        EXPECT_TRUE(log->messages[i].onUiThread);
    }
}

TEST_F(WindowToolkitTest, SendMessageReturnsTheHandlersResultFromAnyThread) {
    EXPECT_EQ(window->SendMessage(WM_USER, 5), static_cast<std::intptr_t>(WM_USER + 5));
    std::intptr_t fromWorker = 0;
    std::thread worker([&] { fromWorker = window->SendMessage(WM_USER, 7); });
    ASSERT_TRUE(PumpUntil([&] { return fromWorker != 0; }));
    worker.join();
    EXPECT_EQ(fromWorker, static_cast<std::intptr_t>(WM_USER + 7));
    EXPECT_TRUE(log->messages.back().onUiThread);
}

TEST_F(WindowToolkitTest, ResultsForAClosedWindowAreDropped) {
    const ResultPoster poster = MakeWindowResultPoster();
    const WindowHandle handle = window->GetHandle();
    poster(handle, WM_RES_SYNC, 0, 0);
    window->Close(0);  // before the queued result is handled
    Pump();
    ASSERT_TRUE(window.isNull());
    std::thread late([&] { poster(handle, WM_RES_SYNC, 0, 0); });
    late.join();
    Pump();
    EXPECT_TRUE(log->messages.empty());
    EXPECT_FALSE(WindowRegistry::Post(handle, WM_RES_SYNC, 0, 0));
}

TEST_F(WindowToolkitTest, PostedValuesAreFreedWithTheirMessageHandledOrNot) {
    const WindowHandle handle = window->GetHandle();
    auto handled = std::make_shared<int>(7);
    const std::weak_ptr<int> handledSeen = handled;
    std::thread([&] { WindowRegistry::PostValue(handle, kValueMessage, 0, std::move(handled)); }).join();
    ASSERT_TRUE(PumpUntil([&] { return log->values.size() == 1; }));
    EXPECT_EQ(log->values[0], 7);
    EXPECT_TRUE(handledSeen.expired());

    // The window closes while the value is on its way: never handled, freed all the same.
    auto pending = std::make_shared<int>(8);
    const std::weak_ptr<int> pendingSeen = pending;
    EXPECT_TRUE(window->PostValue(kValueMessage, 0, std::move(pending)));
    window->Close(0);
    Pump();
    EXPECT_TRUE(pendingSeen.expired());

    auto late = std::make_shared<int>(9);
    const std::weak_ptr<int> lateSeen = late;
    EXPECT_FALSE(WindowRegistry::PostValue(handle, kValueMessage, 0, std::move(late)));
    EXPECT_TRUE(lateSeen.expired());
    EXPECT_EQ(log->values.size(), 1u);
}

TEST_F(WindowToolkitTest, NewWindowsNeverInheritAClosedWindowsHandle) {
    const WindowHandle old = window->GetHandle();
    window->Close(0);
    Pump();
    auto* next = new ProbeWindow(log);
    EXPECT_NE(next->GetHandle(), old);
    EXPECT_EQ(WindowRegistry::Find(old), nullptr);
    EXPECT_EQ(WindowRegistry::Find(next->GetHandle()), next);
}

TEST_F(WindowToolkitTest, TimersArriveAsMessage275WithTheirId) {
    window->SetTimer(130, 5);
    window->SetTimer(131, 5);
    ASSERT_TRUE(PumpUntil([&] { return log->messages.size() >= 6; }));
    for (const Received& m : log->messages) {
        EXPECT_EQ(m.number, WM_TIMER);
        EXPECT_TRUE(m.wParam == 130 || m.wParam == 131);
    }
    window->KillTimer(130);
    window->KillTimer(131);
    EXPECT_FALSE(window->IsTimerRunning(130));
    const size_t seen = log->messages.size();
    QTest::qWait(30);
    EXPECT_EQ(log->messages.size(), seen);
}

TEST_F(WindowToolkitTest, ShowModalReturnsTheCodePassedToCloseAndTheWindowGoes) {
    QTimer::singleShot(0, window, [w = window] { w->Close(42); });
    EXPECT_EQ(window->ShowModal(), 42);
    Pump();
    EXPECT_TRUE(window.isNull());
}

TEST_F(WindowToolkitTest, CloseIsFinalAndASystemCloseEndsTheModalLoop) {
    QTimer::singleShot(0, window, [w = window] {
        w->close();   // as the window manager would
        w->Close(7);  // too late: the first close decided
    });
    EXPECT_EQ(window->ShowModal(), 1);
}

}  // namespace
}  // namespace kivtal
