// The accessible-tree walk the window tests lean on, run over small hand-built windows
// whose faults are known, so a clean walk of a real window means something.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "ui/support/AccessibleWalk.h"
#include "ui/support/UiTestSupport.h"

namespace kivtal {
namespace {

struct Case {
    const char* what;
    std::function<void(QWidget&)> build;
    const char* fault;  // a piece of the one expected problem, nullptr: none
};

class AccessibleWalkTest : public ::testing::TestWithParam<Case> {};

TEST_P(AccessibleWalkTest, ReportsTheFaultOfTheWindow) {
    QWidget window;
    window.setObjectName("window");
    window.setAccessibleName("窗口");
    auto* layout = new QVBoxLayout(&window);
    GetParam().build(window);
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) layout->addWidget(child);
    window.show();
    test::Pump();

    const QStringList problems = test::AccessibleProblems(&window);
    if (!GetParam().fault) {
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
    } else {
        ASSERT_EQ(problems.size(), 1) << problems.join('\n').toStdString();
        EXPECT_TRUE(problems.front().contains(GetParam().fault)) << problems.front().toStdString();
    }
}

QPushButton* Button(QWidget& window, const char* name, const QString& text) {
    auto* button = new QPushButton(text, &window);
    button->setObjectName(name);
    return button;
}

// clang-format off
// One row per fault, each window otherwise clean.
INSTANTIATE_TEST_SUITE_P(Cases, AccessibleWalkTest, ::testing::Values(
    Case{"named controls", [](QWidget& w) {
        Button(w, "ok", "确定");
        auto* edit = new QLineEdit("张三", &w);
        edit->setAccessibleName("姓名");
        auto* list = new QListWidget(&w);
        list->setAccessibleName("联系人");
        list->addItem("张三");
    }, nullptr},
    Case{"icon button without a name", [](QWidget& w) { Button(w, "sync", ""); }, "sync: interactive control without a name"},
    Case{"edit without a label", [](QWidget& w) { new QLineEdit(&w); }, "without a name"},
    Case{"list row without text", [](QWidget& w) {
        auto* list = new QListWidget(&w);
        list->setAccessibleName("联系人");
        list->addItem("");
    }, "without a name"},
    Case{"focusable plain widget", [](QWidget& w) {
        auto* pane = new QWidget(&w);
        pane->setObjectName("clickable");
        pane->setFocusPolicy(Qt::StrongFocus);
        pane->setAccessibleName("点我");
        pane->setMinimumSize(20, 20);
    }, "clickable: a control Tab reaches exposed as a plain pane"},
    Case{"hidden unnamed button", [](QWidget& w) { Button(w, "gone", "")->setVisible(false); }, nullptr}
), [](const auto& info) {
    std::string name = info.param.what;
    for (char& c : name) if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
});
// clang-format on

TEST(AccessibleWalk, FindsShownNodesWithTheirValues) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit("李四", &window);
    edit->setObjectName("name_edit");
    edit->setAccessibleName("姓名");
    layout->addWidget(edit);
    window.show();
    test::Pump();

    const auto nodes = test::WalkAccessible(&window);
    const test::AccessibleNode* node = test::FindAccessible(nodes, "name_edit");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->role, QAccessible::EditableText);
    EXPECT_EQ(node->name, "姓名");
    EXPECT_EQ(node->value, "李四");
    edit->hide();
    EXPECT_EQ(test::FindAccessible(test::WalkAccessible(&window), "name_edit"), nullptr);
}

}  // namespace
}  // namespace kivtal
