// set-aside [list|retry ID|discard ID]: the received changes this device could not store.
#include "CliContext.h"
#include "ExitCodes.h"
#include "TimeText.h"
#include "UserSession.h"
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

constexpr Subcommand kSetAsideCommands[] = {
    {"list", List, 2, "set-aside [list]", {}},
    {"retry", Retry, 3, "set-aside retry ID", {}},
    {"discard", Discard, 3, "set-aside discard ID", {}},
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
