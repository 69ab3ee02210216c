// contacts duplicates [--exact] [--merge] and contacts merge KEEP_ID OTHER_ID...: the
// groups of contacts that are probably one person, and merging them with the default
// choices (the others go to the trash; the next sync sends it all).
#include <iostream>
#include <unordered_map>

#include "CliContext.h"
#include "ExitCodes.h"
#include "UserSession.h"
#include "duplicates/DefaultMerge.h"

namespace kivtal::cli {

namespace {

Json::Value GroupRow(const duplicates::DuplicateGroup& group,
                     const std::unordered_map<int, const BusinessCard*>& byId) {
    Json::Value row(Json::objectValue);
    row["contacts"] = Json::Value(Json::arrayValue);
    for (int id : group.bcIds) {
        Json::Value contact(Json::objectValue);
        contact["id"] = id;
        contact["name"] = byId.at(id)->bc_name;
        row["contacts"].append(contact);
    }
    row["reasons"] = Json::Value(Json::arrayValue);
    for (const duplicates::GroupReason& r : group.reasons) {
        Json::Value reason(Json::objectValue);
        reason["reason"] = duplicates::ReasonKey(r.reason);
        reason["value"] = r.value;
        row["reasons"].append(reason);
    }
    return row;
}

int MergeAll(CliContext& ctx, const duplicates::FindOptions& options) {
    MergeUndo undo;
    int merged = 0;
    const int result = duplicates::MergeAllFound(ctx.store, options, undo, merged);
    if (result != 0) return FailWrite(ctx.store, result);
    std::cout << "merged " << merged << "\n";
    return kExitOk;
}

}  // namespace

int RunContactDuplicates(CliContext& ctx) {
    const duplicates::FindOptions options{.exactOnly = ctx.args.has("exact")};
    if (ctx.args.has("merge")) return MergeAll(ctx, options);
    BusinessCardList contacts;
    std::vector<duplicates::DuplicateGroup> groups;
    if (duplicates::FindInStore(ctx.store, options, contacts, groups) != 0) return FailRead(ctx.store);
    std::unordered_map<int, const BusinessCard*> byId;
    for (const BusinessCard& c : contacts) byId[c.bc_id] = &c;
    PrintRecords(ctx.output, {{"contacts", {"id", "name"}}, {"reasons", {"reason", "value"}}}, groups,
                 [&](const duplicates::DuplicateGroup& g) { return GroupRow(g, byId); });
    return kExitOk;
}

int RunContactMerge(CliContext& ctx) {
    std::vector<int> ids;
    for (std::size_t i = 2; i < ctx.args.words.size(); ++i) {
        const std::optional<int> id = ParseId(ctx.args.word(i));
        if (!id) return Fail(kExitUsage, "invalid contact id '" + ctx.args.word(i) + "'");
        ids.push_back(*id);
    }
    MergeUndo undo;
    const int result = duplicates::MergeNamed(ctx.store, ids.front(), {ids.begin() + 1, ids.end()}, undo);
    if (result == MergeStore::kNotLive)
        return Fail(kExitNotFound, "not every id names a live contact, once; nothing was merged");
    return result == 0 ? kExitOk : FailWrite(ctx.store, result);
}

}  // namespace kivtal::cli
