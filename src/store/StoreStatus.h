#pragma once
// The outcome of a store operation. A missing row, an unreadable database, a write
// that could not begin and a record that can never be logged are different answers;
// callers that were promised numbers fold them with ResultOf.
namespace kivtal {

enum class StoreStatus {
    kOk,
    kNotFound,  // no such row
    kFailed,    // the database failed: nothing was written
    kBusy,      // the write's transaction could not begin: nothing was written
    kRefused,   // a text holds the value-string separator, which can never travel: nothing was written
};

inline StoreStatus StatusOf(bool ok) { return ok ? StoreStatus::kOk : StoreStatus::kFailed; }

// The numbers the store's results have always been: 0 for success, -1 for a write
// whose transaction could not begin, 1 for anything else.
inline int ResultOf(StoreStatus s) {
    if (s == StoreStatus::kOk) return 0;
    return s == StoreStatus::kBusy ? -1 : 1;
}

}  // namespace kivtal
