#include "ui/controls/AccessibleParts.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPushButton>

#include "ui/controls/FindEdit.h"

namespace kivtal {
namespace {

// The field as one edit: its parts are how it draws, not what the user reads.
class FindEditAccessible : public QAccessibleWidget {
public:
    explicit FindEditAccessible(FindEdit* field) : QAccessibleWidget(field, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override {
        const auto* field = static_cast<const FindEdit*>(widget());
        if (t == QAccessible::Value) return field->GetText();
        if (t == QAccessible::Name)
            return field->accessibleName().isEmpty() ? field->DefaultText() : field->accessibleName();
        if (t == QAccessible::Description) return field->DefaultText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const auto* field = static_cast<const FindEdit*>(widget());
        s.editable = true;
        s.focusable = true;
        s.focused = field->Edit()->hasFocus() || field->Display()->hasFocus();
        return s;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};

class PageTabAccessible : public QAccessibleWidget {
public:
    explicit PageTabAccessible(QAbstractButton* tab) : QAccessibleWidget(tab, QAccessible::PageTab) {}

    QString text(QAccessible::Text t) const override {
        const auto* tab = static_cast<const QAbstractButton*>(widget());
        if (t == QAccessible::Name && tab->accessibleName().isEmpty()) return tab->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const auto* tab = static_cast<const QAbstractButton*>(widget());
        s.selectable = true;
        s.selected = tab->isChecked();
        return s;
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* field = qobject_cast<FindEdit*>(object)) return new FindEditAccessible(field);
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (button && button->property("skinRole").toString() == u"tab") return new PageTabAccessible(button);
    return nullptr;
}

}  // namespace

void InstallAccessibleParts() {
    // The factory installed last is asked first: ahead of Qt's own for buttons, however
    // late that was installed.
    QAccessible::removeFactory(&Factory);
    QAccessible::installFactory(&Factory);
}

void RenewAccessible(QWidget* control) {
    if (!control) return;
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(control))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
}

}  // namespace kivtal
