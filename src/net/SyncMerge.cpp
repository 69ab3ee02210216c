#include "net/SyncMerge.h"

#include <cstddef>
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

}  // namespace

void mergeChanges(SyncRecordList& local, SyncRecordList& server, SyncRecordList& dropped) {
    if (local.empty() || server.empty()) return;
    std::size_t li = 0;
    while (li < local.size()) {
        Outcome outcome = Outcome::KeepScanning;
        for (std::size_t si = 0; si < server.size() && outcome == Outcome::KeepScanning; ++si) {
            if (SameRow(server[si], local[li])) outcome = Settle(local, li, server, si, dropped);
        }
        // A removed entry's successor has moved into its place.
        if (outcome != Outcome::LocalRemoved) ++li;
    }
}

}  // namespace kivtal
