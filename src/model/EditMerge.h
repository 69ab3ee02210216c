#pragma once
// Saving an edit against the row as it is now. An editor reads a record, the user
// changes some of its fields, and meanwhile a sync may rewrite the row; writing the
// whole record back would undo that sync's change here and, through the next upload,
// on every device. So a save takes from the edit only the fields the user changed.
#include <string>
#include <vector>

#include "model/RecordValues.h"
#include "model/ValueString.h"

namespace kivtal {

// The record's value-string fields one by one: where `edited` differs from `asRead`
// the edited value, otherwise `current`'s. Fields outside the value string are
// `current`'s. Throws std::invalid_argument as FormatValues does (a text holding the
// separator).
template <class Record>
Record MergeEdit(const Record& asRead, const Record& edited, const Record& current) {
    const std::vector<std::string> read = SplitValues(FormatValues(asRead), kValueSeparator);
    const std::vector<std::string> mine = SplitValues(FormatValues(edited), kValueSeparator);
    const std::vector<std::string> now = SplitValues(FormatValues(current), kValueSeparator);
    std::string merged;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (i > 0) merged += kValueSeparator;
        merged += mine[i] != read[i] ? mine[i] : now[i];
    }
    Record out = current;
    ParseValues(merged, out);
    return out;
}

}  // namespace kivtal
