#pragma once
// A record's texts travel joined by the value-string separator and are not escaped,
// so a text holding the separator could never be logged. Refusing it up front gives
// the user a clear message instead of a failed store write.
#include <stdexcept>

#include "ExitCodes.h"
#include "model/RecordValues.h"

namespace kivtal::cli {

template <typename Record>
bool FitsValueString(const Record& record) {
    try {
        FormatValues(record);
        return true;
    } catch (const std::invalid_argument&) {
        return false;
    }
}

inline int FailSeparator() {
    return Fail(kExitUsage, "a text holds the reserved field separator \"~\xE9\xBA\xA4^\"; nothing was stored");
}

}  // namespace kivtal::cli
