#include "model/FieldMerge.h"

#include <cstddef>

#include "model/ValueString.h"

namespace kivtal {

namespace {

using Items = std::vector<std::string>;

std::string Join(const Items& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += kValueSeparator;
        out += items[i];
    }
    return out;
}

bool Deleted(const std::string& state) { return !state.empty() && state != "0"; }

// Whether `side` changed any field people edit.
bool EditedValues(const std::vector<FieldSpec>& fields, const Items& base, const Items& side) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].role == FieldRole::kValue && side[i] != base[i]) return true;
    return false;
}

struct Sides {
    const Items& base;
    const Items& local;
    const Items& remote;
};

// The three-way rule of one field; a clash keeps the local value.
std::string MergeOne(const Sides& s, std::size_t i, std::vector<FieldClash>& clashes) {
    const std::string& b = s.base[i];
    const std::string& l = s.local[i];
    const std::string& r = s.remote[i];
    if (l == r || r == b) return l;
    if (l == b) return r;
    clashes.push_back({static_cast<int>(i), r});
    return l;
}

// A side that deletes the record while the other edits it loses: the edit stays live,
// and the clash offers the delete.
std::string MergeState(const std::vector<FieldSpec>& fields, const Sides& s, std::size_t i,
                       std::vector<FieldClash>& clashes) {
    const bool localDeletes = Deleted(s.local[i]) && !Deleted(s.base[i]);
    const bool remoteDeletes = Deleted(s.remote[i]) && !Deleted(s.base[i]);
    if (localDeletes != remoteDeletes) {
        const bool otherEdited =
            localDeletes ? EditedValues(fields, s.base, s.remote) : EditedValues(fields, s.base, s.local);
        if (otherEdited) {
            clashes.push_back({static_cast<int>(i), "1"});
            return "0";
        }
    }
    std::vector<FieldClash> ignored;  // both changed the state otherwise: this device's stands
    return MergeOne(s, i, ignored);
}

}  // namespace

std::optional<FieldMergeResult> MergeFields(int operCode, const std::string& base, const std::string& local,
                                            const std::string& remote) {
    const std::vector<FieldSpec>& fields = FieldsOfKind(operCode);
    const Items b = SplitValues(base, kValueSeparator);
    const Items l = SplitValues(local, kValueSeparator);
    const Items r = SplitValues(remote, kValueSeparator);
    if (fields.empty() || b.size() != fields.size() || l.size() != fields.size() || r.size() != fields.size())
        return std::nullopt;
    const Sides sides{b, l, r};
    FieldMergeResult out;
    Items merged(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        switch (fields[i].role) {
            case FieldRole::kKey: merged[i] = l[i]; break;
            case FieldRole::kValue: merged[i] = MergeOne(sides, i, out.clashes); break;
            case FieldRole::kState: merged[i] = MergeState(fields, sides, i, out.clashes); break;
        }
    }
    out.merged = Join(merged);
    return out;
}

std::string WithField(const std::string& values, int field, const std::string& value) {
    Items items = SplitValues(values, kValueSeparator);
    if (field < 0 || static_cast<std::size_t>(field) >= items.size()) return values;
    items[static_cast<std::size_t>(field)] = value;
    return Join(items);
}

}  // namespace kivtal
