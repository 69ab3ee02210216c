// set-aside [list|retry ID|discard ID]: the received changes this device could not store;
// set-aside refused|resend ID|give-up ID: the local changes the service refused.
#include "CliContext.h"
#include "ExitCodes.h"
#include "TimeText.h"
#include "UserSession.h"
#include "store/RefusedUploads.h"
#include "store/ServerChanges.h"

namespace kivtal::cli {

namespace {

Json::Value SetAsideJson(const SetAsideChange& a) {
    Json::Value row(Json::objectValue);
    row["id"] = a.id;
    row["kind"] = a.change.oper_code;
    row["server_id"] = a.change.s_server_id;
    row["name"] = a.name;
    row["reason"] = a.reason;
    row["failed_runs"] = a.failedRuns;
    row["when"] = a.setAsideAt > 0 ? LocalClockText(a.setAsideAt) : "";
    return row;
}

int List(CliContext& ctx) {
    std::vector<SetAsideChange> aside;
    if (ListSetAsideChanges(ctx.store, aside) != 0) return FailRead(ctx.store);
    PrintRecords(ctx.output, {{"id"}, {"kind"}, {"server_id"}, {"name"}, {"reason"}, {"failed_runs"}, {"when"}}, aside,
                 SetAsideJson);
    return kExitOk;
}

// The set-aside change command word 2 names; kExitOk with `id` set.
int ReadId(const CliContext& ctx, int& id) {
    const std::optional<int> parsed = ParseId(ctx.args.word(2));
    if (!parsed) return Fail(kExitUsage, "invalid set-aside id '" + ctx.args.word(2) + "'");
    id = *parsed;
    return kExitOk;
}

int NotFound(int id) { return Fail(kExitNotFound, "no set-aside change " + std::to_string(id)); }

int Retry(CliContext& ctx) {
    int id = 0;
    if (const int c = ReadId(ctx, id); c != kExitOk) return c;
    std::string reason;
    switch (RetrySetAsideChange(ctx.store, id, reason)) {
        case 0: return kExitOk;
        case kSetAsideNotFound: return NotFound(id);
        case kStillFails: return Fail(kExitStore, "set-aside change " + std::to_string(id) + " still fails: " + reason);
        default: return FailRead(ctx.store);
    }
}

int Discard(CliContext& ctx) {
    int id = 0;
    if (const int c = ReadId(ctx, id); c != kExitOk) return c;
    const int result = DiscardSetAsideChange(ctx.store, id);
    if (result == kSetAsideNotFound) return NotFound(id);
    return result == 0 ? kExitOk : FailWrite(ctx.store, result);
}

Json::Value RefusedJson(const RefusedUpload& r) {
    Json::Value row(Json::objectValue);
    row["id"] = r.entryId;
    row["kind"] = r.kind;
    row["row_id"] = r.rowId;
    row["server_id"] = r.serverId;
    row["name"] = r.name;
    row["reason"] = r.reason;
    return row;
}

int ListRefused(CliContext& ctx) {
    std::vector<RefusedUpload> refused;
    if (ListRefusedUploads(ctx.store, refused) != 0) return FailRead(ctx.store);
    PrintRecords(ctx.output, {{"id"}, {"kind"}, {"row_id"}, {"server_id"}, {"name"}, {"reason"}}, refused, RefusedJson);
    return kExitOk;
}

// Runs one of the refused-entry operations (0, 2 for no such entry, 1 on a store failure).
int OnRefused(CliContext& ctx, int (*operation)(LocalStore&, int)) {
    int id = 0;
    if (const int c = ReadId(ctx, id); c != kExitOk) return c;
    const int result = operation(ctx.store, id);
    if (result == 2) return Fail(kExitNotFound, "no refused change " + std::to_string(id));
    return result == 0 ? kExitOk : FailWrite(ctx.store, result);
}

int Resend(CliContext& ctx) { return OnRefused(ctx, RetryRefusedUpload); }
int GiveUp(CliContext& ctx) { return OnRefused(ctx, DiscardRefusedUpload); }

constexpr Subcommand kSetAsideCommands[] = {
    {"list", List, 2, "set-aside [list]", {}},           {"retry", Retry, 3, "set-aside retry ID", {}},
    {"discard", Discard, 3, "set-aside discard ID", {}}, {"refused", ListRefused, 2, "set-aside refused", {}},
    {"resend", Resend, 3, "set-aside resend ID", {}},    {"give-up", GiveUp, 3, "set-aside give-up ID", {}},
};

}  // namespace

int RunSetAside(CliContext& ctx) {
    if (ctx.args.words.size() == 1) {
        if (const int c = CheckOptions(ctx.args, {}); c != kExitOk) return c;
        LoginRecord login;
        if (const int c = SelectLastUser(ctx.store, login); c != kExitOk) return c;
        return List(ctx);
    }
    return RunSubcommand(ctx, "set-aside", kSetAsideCommands);
}

}  // namespace kivtal::cli
