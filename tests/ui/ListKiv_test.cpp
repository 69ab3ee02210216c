// The list control in a real (offscreen) window: clicks go through the window system's
// event path to the row's parts and come out of the window's Notify with the part's
// name and the row's tag, as a click on a control would.
#include <QAccessible>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "ui/controls/ListKiv.h"
#include "ui/support/UiTestSupport.h"
#include "ui/toolkit/ControlData.h"

namespace kivtal {
namespace {

using test::Pump;

struct Note {
    QString type;
    QString sender;
    std::int64_t tag;
};

class ListWindow : public WindowImplBase {
public:
    QString GetSkinFile() const override { return QStringLiteral("ListProbe.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ListProbe"); }
    std::vector<Note> notes;

protected:
    void Notify(const QString& type, QWidget* sender) override {
        if (type == "click" || type == "itemclick") notes.push_back({type, sender->objectName(), ControlTag(sender)});
    }
};

// Rows whose record ids start as 1000 + their position.
class NumberRows : public ListRows {
public:
    explicit NumberRows(int count) : ids(count), names(count) {
        for (int i = 0; i < count; ++i) {
            ids[i] = 1000 + i;
            names[i] = QStringLiteral("联系人%1").arg(i);
        }
    }
    int RowCount() const override { return static_cast<int>(ids.size()); }
    std::int64_t RowTag(int row) const override { return ids[row]; }
    QString PartText(int row, const QString& part) const override {
        if (part == "name_label") return names[row];
        if (part == "phone_label") return row % 2 ? QString() : QStringLiteral("1380000%1").arg(row);
        if (part == "head_pic") return QStringLiteral("no_such_head.png");
        return {};
    }
    QString PartTip(int row, const QString& part) const override {
        return part == "edit_btn" ? QStringLiteral("编辑%1").arg(names[row]) : QString();
    }
    void EraseFront(int count) {
        ids.erase(ids.begin(), ids.begin() + count);
        names.erase(names.begin(), names.begin() + count);
    }
    std::vector<std::int64_t> ids;
    std::vector<QString> names;
};

RowLayout ContactLayout() {
    RowLayout layout;
    layout.height = 50;
    layout.parts = {
        {.name = "head_pic", .kind = RowPart::Image, .rect = {6, 5, 40, 40}},
        {.name = "name_label", .rect = {52, 4, 120, 20}, .bold = true},
        {.name = "phone_label", .rect = {52, 26, 120, 20}, .color = QColor(0x99, 0x99, 0x99)},
        {.name = "", .rect = {0, 49, 400, 1}, .image = "line.png"},
        {.name = "edit_btn", .rect = {40, 13, 24, 24}, .fromRight = true, .image = "edit.png", .hoverOnly = true},
        {.name = "delete_btn", .rect = {10, 13, 24, 24}, .fromRight = true, .hoverOnly = true},
    };
    return layout;
}

class ListKivTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = new ListWindow;
        ASSERT_TRUE(window->Create(nullptr, QStringLiteral("list")));
        list = window->FindControl<ListKiv>("probe_list");
        ASSERT_NE(list, nullptr);
        list->SetRowLayout(ContactLayout());
        rows = list->SetRows(std::make_unique<NumberRows>(10000));
        window->ShowWindow();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.data()));
    }
    void TearDown() override { test::CloseAllWindows(); }

    // Press and release at a point of the list's viewport, through the window system.
    void ClickAt(const QPoint& viewportPos) {
        test::ClickThroughWindow(list->viewport(), viewportPos);
        Pump();
    }
    void ClickPart(int row, const QString& part) {
        const QRect rect = list->PartRect(row, part);
        ASSERT_FALSE(rect.isEmpty()) << part.toStdString() << " of row " << row;
        ClickAt(rect.center());
    }

    QPointer<ListWindow> window;
    ListKiv* list = nullptr;
    NumberRows* rows = nullptr;
};

TEST_F(ListKivTest, AClickOnEveryPartOfARowReachesNotifyWithTheRowsTag) {
    const QString parts[] = {"head_pic", "name_label", "phone_label", "edit_btn", "delete_btn"};
    for (const int row : {0, 3, 7421}) {
        list->ScrollToRow(row);
        Pump();
        for (const QString& part : parts) {
            window->notes.clear();
            ClickPart(row, part);
            ASSERT_EQ(window->notes.size(), 1u) << part.toStdString() << " of row " << row;
            EXPECT_EQ(window->notes[0].type, "click");
            EXPECT_EQ(window->notes[0].sender, part);
            EXPECT_EQ(window->notes[0].tag, 1000 + row) << part.toStdString();
        }
    }
}

TEST_F(ListKivTest, RowClicksOutsidePartsAndKeysSelectTheRow) {
    // Between the labels and the buttons: the row, not a part.
    const QRect name = list->PartRect(2, "name_label");
    ClickAt({name.right() + 10, name.center().y()});
    ASSERT_EQ(window->notes.size(), 1u);
    EXPECT_EQ(window->notes[0].type, "itemclick");
    EXPECT_EQ(window->notes[0].sender, "probe_list");
    EXPECT_EQ(list->CurrentTag(), 1002);

    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(window->notes.size(), 2u);
    EXPECT_EQ(window->notes[1].type, "itemclick");
    EXPECT_EQ(list->CurrentTag(), 1003);

    // The decoration line has no name: a click on it is a click on the row.
    ClickAt(list->PartRect(4, "name_label").bottomLeft() + QPoint(0, 24));
    EXPECT_EQ(window->notes.back().type, "itemclick");
}

TEST_F(ListKivTest, PressOnOnePartAndReleaseOnAnotherClicksNothing) {
    const QPoint from = list->viewport()->mapTo(window.data(), list->PartRect(1, "edit_btn").center());
    const QPoint to = list->viewport()->mapTo(window.data(), list->PartRect(1, "name_label").center());
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, from);
    QTest::mouseMove(window->windowHandle(), to);
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, to);
    Pump();
    EXPECT_TRUE(window->notes.empty());
}

TEST_F(ListKivTest, TooltipsBelongToTheirPartAndRow) {
    const auto tipAt = [&](int row, const QString& part) {
        ClickAt(list->PartRect(row, part).center());  // the pointer rests on the row
        const QPoint pos = list->PartRect(row, part).center();
        QHelpEvent help(QEvent::ToolTip, pos, list->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(5, "edit_btn"), "编辑联系人5");
    EXPECT_EQ(tipAt(6, "name_label"), "");
}

TEST_F(ListKivTest, ScreenReadersReadEachRowsTexts) {
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->tableInterface(), nullptr);
    EXPECT_EQ(view->tableInterface()->rowCount(), 10000);
    QAccessibleInterface* cell = view->tableInterface()->cellAt(2, 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "联系人2, 13800002");
    EXPECT_EQ(view->tableInterface()->cellAt(3, 0)->text(QAccessible::Name), "联系人3");
}

TEST_F(ListKivTest, RefreshShowsChangedRowsAndKeepsTheCurrentRecord) {
    ASSERT_TRUE(list->SelectTag(1500));
    rows->EraseFront(10);
    list->Refresh();
    EXPECT_EQ(list->model()->rowCount(), 9990);
    EXPECT_EQ(list->CurrentTag(), 1500);
    EXPECT_EQ(list->currentIndex().row(), 490);

    rows->EraseFront(rows->RowCount() - 3);
    list->Refresh();
    EXPECT_EQ(list->CurrentTag(), kNoTag);  // that record is gone
    EXPECT_FALSE(list->SelectTag(1500));
    Pump();
    ClickPart(2, "name_label");
    ASSERT_FALSE(window->notes.empty());
    EXPECT_EQ(window->notes.back().tag, rows->ids[2]);
}

TEST_F(ListKivTest, ARowLayoutCanChangeWhileRowsAreShown) {
    RowLayout narrow;
    narrow.height = 30;
    narrow.parts = {{.name = "name_label", .rect = {4, 4, 200, 22}}};
    list->SetRowLayout(narrow);
    Pump();
    EXPECT_TRUE(list->PartRect(0, "edit_btn").isEmpty());
    EXPECT_EQ(list->PartRect(1, "name_label").top(), 30 + 4);
    ClickPart(1, "name_label");
    ASSERT_EQ(window->notes.size(), 1u);
    EXPECT_EQ(window->notes[0].tag, 1001);
}

}  // namespace
}  // namespace kivtal
