#pragma once
// The outcome of a step inside the store, before it becomes a public return code. A
// missing row and an unreadable database are different answers; only the public
// functions fold them into the numbers their callers were promised.
namespace kivtal {

enum class StoreStatus { kOk, kNotFound, kFailed };

inline StoreStatus StatusOf(bool ok) { return ok ? StoreStatus::kOk : StoreStatus::kFailed; }

// The usual store result: 0 for success, 1 for anything else.
inline int ResultOf(StoreStatus s) { return s == StoreStatus::kOk ? 0 : 1; }

}  // namespace kivtal
