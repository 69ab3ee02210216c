#include "ui/toolkit/ControlData.h"

#include <QObject>
#include <QVariant>

namespace kivtal {
namespace {

// Kept on the control itself, so they live and die with it.
constexpr char kTagProperty[] = "kivtal_tag";
constexpr char kUserDataProperty[] = "kivtal_user_data";

}  // namespace

std::int64_t ControlTag(const QObject* control) {
    if (!control) return kNoTag;
    const QVariant tag = control->property(kTagProperty);
    return tag.isValid() ? tag.toLongLong() : kNoTag;
}

void SetControlTag(QObject* control, std::int64_t tag) {
    if (control) control->setProperty(kTagProperty, static_cast<qlonglong>(tag));
}

QString ControlUserData(const QObject* control) {
    return control ? control->property(kUserDataProperty).toString() : QString();
}

void SetControlUserData(QObject* control, const QString& data) {
    if (control) control->setProperty(kUserDataProperty, data);
}

}  // namespace kivtal
