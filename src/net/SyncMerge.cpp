#include "net/SyncMerge.h"

#include <cstddef>
#include <optional>
#include <set>
#include <string>

#include "model/SyncKinds.h"
#include "model/ValueString.h"

namespace kivtal {

namespace {

enum class Outcome { KeepScanning, Settled, LocalRemoved };

bool SameRow(const SyncRecord& s, const SyncRecord& l) {
    return s.oper_code == l.oper_code && (s.s_row_id == l.s_row_id || s.s_server_id == l.s_server_id);
}

// Whether fields [first, end) of two value strings agree; a value string too short to
// hold them counts as different.
bool SameFields(const std::string& a, const std::string& b, std::size_t first, std::size_t end) {
    const std::vector<std::string> fa = SplitValues(a, kValueSeparator);
    const std::vector<std::string> fb = SplitValues(b, kValueSeparator);
    if (fa.size() < end || fb.size() < end) return false;
    for (std::size_t i = first; i < end; ++i)
        if (fa[i] != fb[i]) return false;
    return true;
}

void BothAsAdds(SyncRecord& l, SyncRecord& s) {
    l.main_tab = 1;
    l.oper_ways = WAY_ADD;
    s.main_tab = 1;
    s.oper_ways = WAY_ADD;
}

bool BothModify(const SyncRecord& l, const SyncRecord& s) {
    return l.oper_ways == WAY_MODIFY && s.oper_ways == WAY_MODIFY;
}

// Both versions of the contact survive: the local row goes up as a new contact, the
// service's version lands in a second local row under the old server id.
Outcome SettleContact(SyncRecord& l, SyncRecordList& server, std::size_t si) {
    if (l.main_tab != server[si].main_tab || !BothModify(l, server[si])) return Outcome::KeepScanning;
    // bc_id and bc_name.
    if (!SameFields(l.s_values, server[si].s_values, 0, 2)) {
        BothAsAdds(l, server[si]);
        return Outcome::Settled;
    }
    l.main_tab = 2;
    l.oper_ways = WAY_ADD;
    server.insert(server.begin() + static_cast<std::ptrdiff_t>(si), l);
    SyncRecord& s = server[si + 1];
    s.oper_ways = WAY_MODIFY;
    s.main_tab = 2;
    return Outcome::Settled;
}

Outcome SettleRemark(SyncRecordList& local, std::size_t li, SyncRecordList& server, std::size_t si) {
    if (!BothModify(local[li], server[si])) return Outcome::KeepScanning;
    // c_content: the same edit on both sides needs no upload now; the local entry
    // stays pending in the store.
    if (SameFields(local[li].s_values, server[si].s_values, 1, 2)) {
        local.erase(local.begin() + static_cast<std::ptrdiff_t>(li));
        server.erase(server.begin() + static_cast<std::ptrdiff_t>(si));
        return Outcome::LocalRemoved;
    }
    BothAsAdds(local[li], server[si]);
    return Outcome::Settled;
}

Outcome Settle(SyncRecordList& local, std::size_t li, SyncRecordList& server, std::size_t si, SyncRecordList& dropped) {
    SyncRecord& l = local[li];
    switch (l.oper_code) {
        case OPER_CONTACT: return SettleContact(l, server, si);
        case OPER_MATTER:  // the service wins; the withdrawn entry is acknowledged with the upload
            l.sync_state = SYNC_DONE;
            dropped.push_back(l);
            local.erase(local.begin() + static_cast<std::ptrdiff_t>(li));
            return Outcome::LocalRemoved;
        case OPER_REMARK: return SettleRemark(local, li, server, si);
        case OPER_CONTACT_GROUP:
        case OPER_MATTER_GROUP:
        case OPER_SETTINGS:  // the local change wins
            server.erase(server.begin() + static_cast<std::ptrdiff_t>(si));
            l.main_tab = 1;
            l.oper_ways = WAY_MODIFY;
            return Outcome::Settled;
        default: return Outcome::KeepScanning;
    }
}

bool ReceivedModifyOf(const SyncRecord& s, const SyncRecord& l) {
    return s.oper_ways == WAY_MODIFY && s.oper_code == l.oper_code && s.s_server_id == l.s_server_id;
}

// The last received modify of the record the local entry names by server id: the
// earlier ones are stored before it and overwritten by it.
std::optional<std::size_t> LastReceivedModify(const SyncRecord& l, const SyncRecordList& server) {
    for (std::size_t si = server.size(); si-- > 0;)
        if (ReceivedModifyOf(server[si], l)) return si;
    return std::nullopt;
}

// A remark is one text: two different texts are both kept, by the kind's own rule.
bool KeepsBothTexts(int kind, const std::vector<FieldClash>& clashes) {
    if (kind != OPER_REMARK) return false;
    for (const FieldClash& c : clashes)
        if (FieldOfKind(kind, c.field)->role == FieldRole::kValue) return true;
    return false;
}

struct FieldSettlement {
    const SyncBases& bases;
    SyncClashList& clashes;
    int now;

    // True when the local entry was settled against the base.
    bool operator()(SyncRecord& l, SyncRecordList& server) const {
        if (l.oper_ways != WAY_MODIFY || l.s_server_id < 1) return false;
        const auto base = bases.find({l.oper_code, l.s_server_id});
        const std::optional<std::size_t> si = LastReceivedModify(l, server);
        if (base == bases.end() || !si) return false;
        const std::optional<FieldMergeResult> result =
            MergeFields(l.oper_code, base->second, l.s_values, server[*si].s_values);
        if (!result || KeepsBothTexts(l.oper_code, result->clashes)) return false;
        l.s_values = result->merged;
        server[*si].s_values = result->merged;
        for (const FieldClash& c : result->clashes)
            clashes.push_back({0, l.oper_code, l.s_row_id, l.s_server_id, c.field, c.other, now});
        return true;
    }
};

}  // namespace

void mergeChanges(SyncRecordList& local, SyncRecordList& server, SyncRecordList& dropped) {
    SyncClashList none;
    mergeChanges(local, server, dropped, {}, none, 0);
}

std::vector<SyncBaseKey> BasesToRead(const SyncRecordList& local, const SyncRecordList& server) {
    std::set<SyncBaseKey> received;
    for (const SyncRecord& s : server)
        if (s.oper_ways == WAY_MODIFY && s.s_server_id > 0) received.insert({s.oper_code, s.s_server_id});
    std::set<SyncBaseKey> keys;
    for (const SyncRecord& l : local)
        if (l.oper_ways == WAY_MODIFY && received.count({l.oper_code, l.s_server_id}))
            keys.insert({l.oper_code, l.s_server_id});
    return {keys.begin(), keys.end()};
}

void mergeChanges(SyncRecordList& local, SyncRecordList& server, SyncRecordList& dropped, const SyncBases& bases,
                  SyncClashList& clashes, int now) {
    if (local.empty() || server.empty()) return;
    const FieldSettlement byFields{bases, clashes, now};
    std::size_t li = 0;
    while (li < local.size()) {
        if (byFields(local[li], server)) {
            ++li;
            continue;
        }
        Outcome outcome = Outcome::KeepScanning;
        for (std::size_t si = 0; si < server.size() && outcome == Outcome::KeepScanning; ++si) {
            if (SameRow(server[si], local[li])) outcome = Settle(local, li, server, si, dropped);
        }
        // A removed entry's successor has moved into its place.
        if (outcome != Outcome::LocalRemoved) ++li;
    }
}

}  // namespace kivtal
