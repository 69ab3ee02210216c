#include "ui/support/AccessibleWalk.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <set>

namespace kivtal::test {
namespace {

// Roles a user acts on; each needs a name a reader can speak.
bool IsInteractive(QAccessible::Role role) {
    static const std::set<QAccessible::Role> kRoles = {
        QAccessible::Button,       QAccessible::CheckBox,       QAccessible::RadioButton, QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::PageTab,        QAccessible::SpinBox,     QAccessible::Slider,
        QAccessible::ButtonMenu,   QAccessible::ButtonDropDown, QAccessible::Link,        QAccessible::List,
        QAccessible::ListItem,     QAccessible::Table,          QAccessible::Tree,        QAccessible::TreeItem,
        QAccessible::Cell,         QAccessible::MenuItem,       QAccessible::PageTabList,
    };
    return kRoles.count(role) > 0;
}

bool IsButtonRole(QAccessible::Role role) {
    return role == QAccessible::Button || role == QAccessible::ButtonMenu || role == QAccessible::ButtonDropDown ||
           role == QAccessible::CheckBox || role == QAccessible::RadioButton || role == QAccessible::PageTab;
}

// What the widget's kind demands of its role; empty when the role fits.
QString RoleFault(QWidget* widget, QAccessible::Role role) {
    if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QTextEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget)) {
        const bool readOnly = widget->property("readOnly").toBool();
        if (!readOnly && role != QAccessible::EditableText) return QStringLiteral("an edit that is not editable text");
        return {};
    }
    if (qobject_cast<QCheckBox*>(widget))
        return role == QAccessible::CheckBox ? QString() : QStringLiteral("a check box that is not a check box");
    if (qobject_cast<QRadioButton*>(widget))
        return role == QAccessible::RadioButton ? QString() : QStringLiteral("a radio button that is not one");
    if (qobject_cast<QAbstractButton*>(widget))
        return IsButtonRole(role) ? QString() : QStringLiteral("a button that is not a button");
    if (qobject_cast<QComboBox*>(widget))
        return role == QAccessible::ComboBox ? QString() : QStringLiteral("a picker that is not a combo box");
    const bool takesTab = (widget->focusPolicy() & Qt::TabFocus) != 0;
    const bool plain = role == QAccessible::Client || role == QAccessible::Pane || role == QAccessible::StaticText ||
                       role == QAccessible::Grouping || role == QAccessible::NoRole;
    if (takesTab && plain) return QStringLiteral("a control Tab reaches exposed as a plain pane or label");
    return {};
}

QString Label(QAccessibleInterface* face) {
    if (QObject* object = face->object(); object && !object->objectName().isEmpty()) return object->objectName();
    const QString name = face->text(QAccessible::Name);
    return QStringLiteral("<%1 %2>").arg(static_cast<int>(face->role())).arg(name.left(20));
}

bool IsRowHolder(QAccessible::Role role) {
    return role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree;
}

struct Walker {
    int maxRows;
    std::vector<AccessibleNode> nodes{};
    std::vector<QString> faults{};
    std::set<QAccessibleInterface*> seen{};
    // A focused view also reports its current row focused: one focus, counted at the view.
    QStringList focused{};

    void Walk(QAccessibleInterface* face, const QString& parentPath, bool parentShown, bool parentFocused = false) {
        if (!face || !face->isValid() || !seen.insert(face).second) return;
        const QAccessible::State state = face->state();
        AccessibleNode node;
        node.role = face->role();
        node.path = parentPath.isEmpty() ? Label(face) : parentPath + QLatin1Char('/') + Label(face);
        node.name = face->text(QAccessible::Name);
        node.value = face->text(QAccessible::Value);
        node.shown = parentShown && !state.invisible;
        node.focused = state.focused;
        QWidget* widget = qobject_cast<QWidget*>(face->object());
        if (widget) node.objectName = widget->objectName();
        Check(node, widget);
        if (node.focused && !parentFocused) focused << node.path;
        nodes.push_back(node);
        const int count = face->childCount();
        const int limit = IsRowHolder(node.role) ? std::min(count, maxRows) : count;
        for (int i = 0; i < limit; ++i) Walk(face->child(i), node.path, node.shown, node.focused || parentFocused);
    }

    void Check(const AccessibleNode& node, QWidget* widget) {
        if (widget && !widget->isVisible() && node.shown)
            faults.push_back(node.path + QStringLiteral(": hidden from the user but reported showing"));
        if (!node.shown) return;
        if (IsInteractive(node.role) && node.name.trimmed().isEmpty())
            faults.push_back(node.path + QStringLiteral(": interactive control without a name"));
        if (widget && widget->isVisible())
            if (const QString fault = RoleFault(widget, node.role); !fault.isEmpty())
                faults.push_back(node.path + QStringLiteral(": ") + fault);
    }
};

}  // namespace

std::vector<AccessibleNode> WalkAccessible(QWidget* window, int maxRows) {
    Walker walker{maxRows};
    walker.Walk(QAccessible::queryAccessibleInterface(window), {}, true);
    return std::move(walker.nodes);
}

QStringList AccessibleProblems(QWidget* window) {
    Walker walker{50};
    walker.Walk(QAccessible::queryAccessibleInterface(window), {}, true);
    QStringList problems(walker.faults.begin(), walker.faults.end());
    if (walker.focused.size() > 1)
        problems << QStringLiteral("more than one focused control: ") + walker.focused.join(QStringLiteral(", "));
    return problems;
}

const AccessibleNode* FindAccessible(const std::vector<AccessibleNode>& nodes, const QString& objectName) {
    for (const AccessibleNode& node : nodes)
        if (node.shown && node.objectName == objectName) return &node;
    return nullptr;
}

}  // namespace kivtal::test
