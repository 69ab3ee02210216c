// The keyboard in the boxes and editors, through real key events: each opens with the
// focus on its first field (or its default button), Enter presses the default button
// and Escape the cancelling one.
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui/dialogs/AddMatterDlg.h"
#include "ui/dialogs/SystemMsgWnd.h"
#include "ui/dialogs/UserSettingWnd.h"
#include "ui/editors/UserInforEditWnd.h"
#include "ui/support/HomeFixture.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {
namespace {

class WindowKeys : public test::HomeFixture {
protected:
    template <class Window>
    Window* Show(Window* w) {
        EXPECT_TRUE(w->Create(nullptr, QStringLiteral("窗口")));
        w->ShowWindow(true);
        w->activateWindow();
        test::Pump();
        return w;
    }
    static QString Focused(QWidget* window) {
        QWidget* f = window->focusWidget();
        return f ? f->objectName() : QStringLiteral("(none)");
    }
};

TEST_F(WindowKeys, MessageBoxesTakeEnterAsOkAndEscapeAsCancel) {
    CHomePage& main = Open();
    const struct {
        Qt::Key key;
        int buttons, expected;
    } cases[] = {{Qt::Key_Return, 1, kMsgBoxOk}, {Qt::Key_Escape, 1, kMsgBoxCancel}, {Qt::Key_Enter, 0, kMsgBoxOk}};
    for (const auto& c : cases) {
        QString focused;
        WindowImplBase::SetModalObserver([&](WindowImplBase& box) {
            WindowImplBase::SetModalObserver({});
            QTimer::singleShot(0, &box, [&focused, &box, key = c.key] {
                focused = Focused(&box);
                QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, key);
            });
        });
        EXPECT_EQ(ShowTalMsgBox(QString(), &main, QStringLiteral("确定吗？"), c.buttons), c.expected) << c.key;
        EXPECT_EQ(focused, c.buttons ? "_btn_ok" : "btn_ok") << "the default button has the focus";
    }
}

TEST_F(WindowKeys, TheMatterEditorOpensInItsTextAndEscapeCancels) {
    auto* editor = Show(new CAddMatterDlg(store, TalEvent{}, 0, MatterPage::NewMatter));
    EXPECT_EQ(Focused(editor), "edit_matter_edit");
    QTest::keyClicks(editor->focusWidget(), "call back");
    QTest::keyClick(editor->focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(editor->IsClosing());
}

TEST_F(WindowKeys, TheProfileEditorOpensItsFormWithEnterAndLandsTabInTheEdits) {
    auto* editor = Show(new CUserInforEditWnd(store, UserInfo{}));
    EXPECT_EQ(Focused(editor), "edit_btn") << "the view has no field: its button has the focus";
    QTest::keyClick(editor->focusWidget(), Qt::Key_Return);
    test::Pump();
    ASSERT_TRUE(editor->FindControl("Save_button")->isVisibleTo(editor)) << "Enter opened the form";
    // Tab from field to field lands in each edit itself: what is typed next arrives.
    QWidget* from = editor->focusWidget();
    ASSERT_NE(from, nullptr);
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(editor->focusWidget(), Qt::Key_Tab);
        QWidget* now = editor->focusWidget();
        ASSERT_NE(now, nullptr);
        EXPECT_NE(now->objectName(), "multiControl_btn") << "Tab stopped on a display, not its edit";
    }
    QTest::keyClick(editor->focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(editor->IsClosing());
}

TEST_F(WindowKeys, SettingsAndNewsCloseWithEscape) {
    auto* settings = Show(new CUserSettingWnd(store, 0, {}));
    QTest::keyClick(settings->focusWidget() ? settings->focusWidget() : settings, Qt::Key_Escape);
    EXPECT_TRUE(settings->IsClosing());
    auto* news = Show(new CSystemMsgWnd(store, 0));
    QTest::keyClick(news->focusWidget() ? news->focusWidget() : news, Qt::Key_Escape);
    EXPECT_TRUE(news->IsClosing());
}

}  // namespace
}  // namespace kivtal
