// conflicts [list] | conflicts adopt ID | conflicts dismiss ID: the fields a sync found
// changed differently here and on another device. This device kept its own value; the
// other one waits here until it is adopted (an ordinary edit, synced) or dismissed.
#include "CliContext.h"
#include "ExitCodes.h"
#include "TimeText.h"
#include "UserSession.h"
#include "model/RecordValues.h"
#include "store/ClashAdopt.h"
#include "store/SyncBases.h"

namespace kivtal::cli {

namespace {

std::string FieldName(const SyncClash& c) {
    if (IsDeleteClash(c)) return "deleted";
    const FieldSpec* field = FieldOfKind(c.oper_code, c.field);
    return field ? field->name : std::to_string(c.field);
}

Json::Value ClashJson(const SyncClash& c) {
    Json::Value row(Json::objectValue);
    row["id"] = c.clash_id;
    row["kind"] = c.oper_code;
    row["row_id"] = c.s_row_id;
    row["server_id"] = c.s_server_id;
    row["field"] = FieldName(c);
    // A delete against an edit has no value to show: the other device deleted it.
    row["other"] = IsDeleteClash(c) ? "deleted on another device" : c.other;
    row["when"] = c.clash_time > 0 ? LocalClockText(c.clash_time) : "";
    return row;
}

int List(CliContext& ctx) {
    SyncClashList clashes;
    if (ListClashes(ctx.store, clashes) != 0) return FailRead(ctx.store);
    PrintRecords(ctx.output, {{"id"}, {"kind"}, {"row_id"}, {"server_id"}, {"field"}, {"other"}, {"when"}}, clashes,
                 ClashJson);
    return kExitOk;
}

// Runs one of the operations on the clash word 2 names (0, kClashNotFound,
// kClashNotAdoptable or 1).
int OnClash(CliContext& ctx, int (*operation)(LocalStore&, int)) {
    const std::optional<int> id = ParseId(ctx.args.word(2));
    if (!id) return Fail(kExitUsage, "invalid conflict id '" + ctx.args.word(2) + "'");
    const int result = operation(ctx.store, *id);
    if (result == kClashNotFound) return Fail(kExitNotFound, "no open conflict " + std::to_string(*id));
    if (result == kClashNotAdoptable)
        return Fail(kExitUsage, "conflict " + std::to_string(*id) + " is of a kind that is only dismissed");
    return result == 0 ? kExitOk : FailWrite(ctx.store, result);
}

int Adopt(CliContext& ctx) { return OnClash(ctx, AdoptClash); }
int Dismiss(CliContext& ctx) { return OnClash(ctx, CloseClash); }

constexpr Subcommand kConflictCommands[] = {
    {"list", List, 2, "conflicts [list]", {}},
    {"adopt", Adopt, 3, "conflicts adopt ID", {}},
    {"dismiss", Dismiss, 3, "conflicts dismiss ID", {}},
};

}  // namespace

int RunConflicts(CliContext& ctx) {
    if (ctx.args.words.size() == 1) {
        if (const int c = CheckOptions(ctx.args, {}); c != kExitOk) return c;
        LoginRecord login;
        if (const int c = SelectLastUser(ctx.store, login); c != kExitOk) return c;
        return List(ctx);
    }
    return RunSubcommand(ctx, "conflicts", kConflictCommands);
}

}  // namespace kivtal::cli
