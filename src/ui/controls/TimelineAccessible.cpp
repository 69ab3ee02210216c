#include "ui/controls/TimelineAccessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <vector>

#include "ui/controls/EventPlan.h"

namespace kivtal {
namespace {

const QString kDetails = QStringLiteral("详情");
const QString kAddRemark = QStringLiteral("添加备注");

class MatterItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MatterItemAccessible(CTimeBody* body, int index) : body_(body), index_(index) {}

    bool isValid() const override { return body_ && index_ < static_cast<int>(body_->Items().size()); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return body_ ? body_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(body_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && body_ ? body_->SpokenItem(index_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!body_) return {};
        const QRect part = body_->PartRect(index_, CTimeBody::Text);
        return {body_->mapToGlobal(part.topLeft()), part.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        s.focused = body_ && body_->hasFocus() && body_->CurrentItem() == index_;
        s.selected = body_ && body_->CurrentItem() == index_;
        s.invisible = !body_ || !body_->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {kDetails, kAddRemark}; }
    void doAction(const QString& name) override {
        if (body_) body_->Open(index_, name == kAddRemark ? CTimeBody::AddRemark : CTimeBody::Details);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return {name == kAddRemark ? QStringLiteral("Shift+Enter") : QStringLiteral("Enter")};
    }

private:
    QPointer<CTimeBody> body_;
    int index_;
};

class SectionAccessible : public QAccessibleWidget {
public:
    explicit SectionAccessible(CTimeBody* body) : QAccessibleWidget(body, QAccessible::List, body->Heading()) {}
    ~SectionAccessible() override {
        for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return static_cast<int>(Body()->Items().size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        if (ids_.size() < static_cast<std::size_t>(childCount())) ids_.resize(childCount(), 0);
        if (ids_[index] == 0)
            ids_[index] = QAccessible::registerAccessibleInterface(new MatterItemAccessible(Body(), index));
        return QAccessible::accessibleInterface(ids_[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (i < static_cast<int>(ids_.size()) && ids_[i] && QAccessible::accessibleInterface(ids_[i]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* focusChild() const override {
        return Body()->hasFocus() ? child(Body()->CurrentItem()) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? Body()->Heading() : QAccessibleWidget::text(t);
    }

private:
    CTimeBody* Body() const { return static_cast<CTimeBody*>(widget()); }
    mutable std::vector<QAccessible::Id> ids_;
};

}  // namespace

QAccessibleInterface* TimelineAccessibleFactory(const QString& className, QObject* object) {
    auto* body = qobject_cast<CTimeBody*>(object);
    if (!body || className != QLatin1String(CTimeBody::staticMetaObject.className())) return nullptr;
    return new SectionAccessible(body);
}

}  // namespace kivtal
