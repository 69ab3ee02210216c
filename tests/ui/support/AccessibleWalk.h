#pragma once
// Walks what a screen reader sees of a window: the accessible interfaces under it, as the
// accessibility bus would hand them out, with the faults a reader meets named in words.
#include <QAccessible>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace kivtal::test {

// One interface of the tree, in reading order (parents before their children).
struct AccessibleNode {
    QString path;        // object names (or roles) from the window down, for messages
    QString objectName;  // the widget's, empty for rows and other non-widget parts
    QString name;
    QString value;
    QAccessible::Role role = QAccessible::NoRole;
    bool shown = false;  // neither it nor a parent reports invisible
    bool focused = false;
};

// Every interface under window, hidden ones included (each marked). Rows of lists and
// tables are walked up to maxRows each, so a long contact list stays cheap.
std::vector<AccessibleNode> WalkAccessible(QWidget* window, int maxRows = 50);

// The faults a screen-reader user meets in window, one line each, empty when none:
// a shown interactive control (button, edit, tab, box, row …) without a name; a widget
// whose accessible role contradicts its kind (an edit that is not editable text, a
// button that is not a button, a focusable widget exposed as a plain pane or label);
// a widget hidden from the user that reports itself showing; more than one focused
// interface.
QStringList AccessibleProblems(QWidget* window);

// The shown node whose widget is named objectName; nullptr when there is none.
const AccessibleNode* FindAccessible(const std::vector<AccessibleNode>& nodes, const QString& objectName);

}  // namespace kivtal::test
