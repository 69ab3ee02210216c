// The matter editor as a window over a scratch store: its date pop-ups, its keyboard
// and what it tells a screen reader.
#include <QCalendarWidget>
#include <QDateEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/controls/DatePopup.h"
#include "ui/dialogs/AddMatterDlg.h"
#include "ui/support/HomeFixture.h"
#include "ui/StandardControls.h"

namespace kivtal {
namespace {

QRect GlobalRect(const QWidget& w) { return {w.mapToGlobal(QPoint(0, 0)), w.size()}; }

class MatterEditorWindow : public test::HomeFixture {
protected:
    CAddMatterDlg& OpenEditor(MatterPage page = MatterPage::NewMatter) {
        PrepareWindows();
        editor_ = new CAddMatterDlg(store, TalEvent{}, 0, page);
        EXPECT_TRUE(editor_->Create(nullptr, QStringLiteral("事项")));
        editor_->CenterWindow();
        editor_->ShowWindow(true);
        test::Pump();
        return *editor_;
    }

    QPointer<CAddMatterDlg> editor_;
};

TEST_F(MatterEditorWindow, DatePopupsAreChineseSundayFirstAndLeaveTheButtonsClear) {
    CAddMatterDlg& editor = OpenEditor();
    for (const char* name : {"begin_time", "end_time"}) {
        SCOPED_TRACE(name);
        auto* date = editor.FindControl<QDateEdit>(name);
        ASSERT_NE(date, nullptr);
        QCalendarWidget* calendar = date->calendarWidget();
        EXPECT_EQ(calendar->objectName(), "date_popup");
        EXPECT_EQ(calendar->locale().language(), QLocale::Chinese);
        EXPECT_EQ(calendar->firstDayOfWeek(), Qt::Sunday);
        date->setFocus();
        QTest::keyClick(date, Qt::Key_F4);
        QWidget* popup = calendar->window();
        ASSERT_TRUE(test::PumpUntil([&] { return popup->isVisible(); }));
        for (const char* button : {"save_edit_page", "cancel_edit_page"})
            EXPECT_FALSE(GlobalRect(*popup).intersects(GlobalRect(*editor.FindControl(button))))
                << button << " is covered";
        QTest::keyClick(calendar, Qt::Key_Escape);
        EXPECT_TRUE(test::PumpUntil([&] { return !popup->isVisible(); }));
    }
}

TEST(DatePopupPlace, TakesTheFirstPlaceOnScreenThatCoversNoButton) {
    const QRect screen(0, 0, 1366, 768);
    const QRect anchor(500, 400, 120, 24);
    const QSize size(250, 180);
    const QRect below(500, 424, 250, 180), above(500, 220, 250, 180), right(620, 400, 250, 180),
        left(250, 400, 250, 180);
    const QRect buttonsBelow(500, 500, 200, 30), buttonsRight(700, 380, 100, 30);
    const struct {
        const char* what;
        QRect anchor;
        std::vector<QRect> keepClear;
        QRect expected;
    } cases[] = {
        {"nothing in the way", anchor, {}, below},
        {"buttons below", anchor, {buttonsBelow}, above},
        {"edit near the top", QRect(500, 100, 120, 24), {QRect(500, 200, 100, 30)}, QRect(620, 100, 250, 180)},
        {"buttons below and right", anchor, {buttonsBelow, buttonsRight, QRect(500, 300, 10, 10)}, left},
        {"no room at all", anchor, {QRect(0, 0, 1366, 768)}, QRect()},
        {"bottom of the screen", QRect(500, 700, 120, 24), {}, QRect(500, 520, 250, 180)},
    };
    for (const auto& c : cases) EXPECT_EQ(DatePopupPlace(c.anchor, size, screen, c.keepClear), c.expected) << c.what;
}

}  // namespace
}  // namespace kivtal
