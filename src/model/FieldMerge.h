#pragma once
// Settling a record changed on this device and on another one since the two last
// agreed. Each side's change is measured against the base (the value string both held
// then), field by field, so that every change survives unless both sides changed the
// same field to different values: that is a clash, which this device settles with its
// own value (its user just typed it) and keeps for the user to look at.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/RecordValues.h"

namespace kivtal {

// A field both sides changed to different values: its index in the kind's value
// string (FieldsOfKind) and the other side's value. A clash on the kState field is a
// delete against an edit: the record stays live and `other` is "1".
struct FieldClash {
    int field = 0;
    std::string other;

    bool operator==(const FieldClash&) const = default;
};

// The bases of some records, by (oper_code, server id).
using SyncBaseKey = std::pair<int, int>;
using SyncBases = std::map<SyncBaseKey, std::string>;

// A clash as the device that settled it keeps it until the user adopts the other
// value or dismisses it.
struct SyncClash {
    int clash_id = 0;  // 0 until stored
    int oper_code = 0;
    int s_row_id = 0;  // local id of the record
    int s_server_id = 0;
    int field = 0;  // index in the kind's value string (FieldsOfKind)
    std::string other;
    int clash_time = 0;

    bool operator==(const SyncClash&) const = default;
};
using SyncClashList = std::vector<SyncClash>;

struct FieldMergeResult {
    std::string merged;  // the value string both sides end with
    std::vector<FieldClash> clashes;
};

// The merge of `local` and `remote` against `base`, all value strings of kind
// operCode. kKey fields are `local`'s. Nothing (no merge possible) when the kind is
// unknown or any of the three does not hold exactly the kind's fields.
std::optional<FieldMergeResult> MergeFields(int operCode, const std::string& base, const std::string& local,
                                            const std::string& remote);

// `values` with field `field` replaced by `value`; unchanged when there is no such field.
std::string WithField(const std::string& values, int field, const std::string& value);

// `record` with field `field` of its value string set to `value`: how a clash's other
// value is adopted. Throws std::invalid_argument as FormatValues and ParseValues do.
template <class Record>
Record AdoptField(const Record& record, int field, const std::string& value) {
    Record out = record;
    ParseValues(WithField(FormatValues(record), field, value), out);
    return out;
}

}  // namespace kivtal
