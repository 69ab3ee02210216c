#pragma once
// A tag that every control carries for its window: a number, usually the id of the
// record the control shows. Windows keep it here instead of inventing properties of
// their own, and the list control hands the row's tag to Notify through the same call.
#include <cstdint>

class QObject;

namespace kivtal {

inline constexpr std::int64_t kNoTag = -1;

// kNoTag for a control whose tag was never set (and for nullptr).
std::int64_t ControlTag(const QObject* control);
void SetControlTag(QObject* control, std::int64_t tag);

}  // namespace kivtal
