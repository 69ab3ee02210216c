#include "ui/toolkit/NotifyBridge.h"

#include <QMetaMethod>
#include <QWidget>

#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

constexpr const char* kBoundProperty = "kivtal_notify_bound";

// Which control signal carries which notification. A control has at most a few of
// these; the ones it lacks are skipped.
struct SignalRoute {
    const char* signal;
    const char* slot;
};

constexpr SignalRoute kRoutes[] = {
    {"clicked()", "OnClick()"},
    {"returnPressed()", "OnReturn()"},
    {"textChanged(QString)", "OnTextChanged()"},
    {"textChanged()", "OnTextChanged()"},
    {"itemSelected()", "OnItemSelect()"},
    {"currentIndexChanged(int)", "OnItemSelect()"},
    {"currentRowChanged(int)", "OnItemSelect()"},
    {"currentItemChanged(QTreeWidgetItem*,QTreeWidgetItem*)", "OnItemSelect()"},
    {"itemClicked(QListWidgetItem*)", "OnItemClick()"},
    {"itemClicked(QTreeWidgetItem*,int)", "OnItemClick()"},
    {"dropDown()", "OnDropDown()"},
    {"linkActivated(QString)", "OnLink()"},
};

}  // namespace

NotifyBridge::NotifyBridge(WindowImplBase* window) : QObject(window), window_(window) {}

void NotifyBridge::Bind(QWidget* root) {
    if (!root) return;
    BindControl(root);
    for (QWidget* child : root->findChildren<QWidget*>()) {
        // Windows owned by this one wire their own controls.
        if (!child->isWindow()) BindControl(child);
    }
}

void NotifyBridge::BindControl(QWidget* control) {
    if (control->property(kBoundProperty).toBool()) return;
    control->setProperty(kBoundProperty, true);
    control->installEventFilter(window_);
    const QMetaObject* meta = control->metaObject();
    // A control that tells the user's choice apart from its own filling says so by
    // itemSelected(); its index changes are then no notification.
    const bool choosesByUser = meta->indexOfSignal("itemSelected()") >= 0;
    for (const SignalRoute& route : kRoutes) {
        const int signal = meta->indexOfSignal(route.signal);
        if (signal < 0) continue;
        if (choosesByUser && qstrcmp(route.signal, "currentIndexChanged(int)") == 0) continue;
        const int slot = metaObject()->indexOfSlot(route.slot);
        connect(control, meta->method(signal), this, metaObject()->method(slot));
    }
}

void NotifyBridge::Forward(const char* type) {
    window_->SendNotify(QString::fromLatin1(type), qobject_cast<QWidget*>(sender()));
}

void NotifyBridge::OnClick() { Forward("click"); }
void NotifyBridge::OnReturn() { Forward("return"); }
void NotifyBridge::OnTextChanged() { Forward("textchanged"); }
void NotifyBridge::OnItemSelect() { Forward("itemselect"); }
void NotifyBridge::OnItemClick() { Forward("itemclick"); }
void NotifyBridge::OnDropDown() { Forward("dropdown"); }
void NotifyBridge::OnLink() { Forward("link"); }

}  // namespace kivtal
