#pragma once
// Loading the record a command names by id (command word 2). Deleted rows stay in the
// tables, so a record counts only while its state is 0.
#include <string>
#include <string_view>

#include "CliContext.h"
#include "ExitCodes.h"
#include "UserSession.h"

namespace kivtal::cli {

// `read(id, out)` is a store's typed by-id read (StoreStatus). kExitOk with `out`
// filled, kExitUsage for a malformed id, kExitNotFound or kExitStore otherwise (the
// message is printed).
template <typename Record, typename Read>
int LoadLiveRecord(CliContext& ctx, std::string_view what, Read read, int Record::*stateField, Record& out) {
    const std::string text = ctx.args.word(2);
    const std::optional<int> id = ParseId(text);
    if (!id) return Fail(kExitUsage, "invalid " + std::string(what) + " id '" + text + "'");
    const StoreStatus status = read(*id, out);  // before the state is looked at
    return LiveOrFail(ctx.store, status, out.*stateField, std::string(what) + " " + text);
}

}  // namespace kivtal::cli
