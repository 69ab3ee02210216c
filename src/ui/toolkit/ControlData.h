#pragma once
// A tag and user data that every control carries for its window: the tag is a number
// (usually the id of the record the control shows), the user data a text. Windows keep
// them here instead of inventing properties of their own, and the list control hands
// the row's tag to Notify through the same call.
#include <QString>
#include <cstdint>

class QObject;

namespace kivtal {

inline constexpr std::int64_t kNoTag = -1;

// kNoTag for a control whose tag was never set (and for nullptr).
std::int64_t ControlTag(const QObject* control);
void SetControlTag(QObject* control, std::int64_t tag);

// Empty for a control whose user data was never set.
QString ControlUserData(const QObject* control);
void SetControlUserData(QObject* control, const QString& data);

}  // namespace kivtal
