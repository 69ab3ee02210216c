#include "ui/toolkit/ControlData.h"

#include <QObject>
#include <QVariant>

namespace kivtal {
namespace {

// Kept on the control itself, so it lives and dies with it.
constexpr char kTagProperty[] = "kivtal_tag";

}  // namespace

std::int64_t ControlTag(const QObject* control) {
    if (!control) return kNoTag;
    const QVariant tag = control->property(kTagProperty);
    return tag.isValid() ? tag.toLongLong() : kNoTag;
}

void SetControlTag(QObject* control, std::int64_t tag) {
    if (control) control->setProperty(kTagProperty, static_cast<qlonglong>(tag));
}

}  // namespace kivtal
