#pragma once
// Loading the record a command names by id (command word 2). Deleted rows stay in the
// tables, so a record counts only while its state is 0; the by-id reads answer alike
// for "no such row" and "database unreadable", so the two are told apart here.
#include <string>
#include <string_view>

#include "CliContext.h"
#include "ExitCodes.h"
#include "UserSession.h"

namespace kivtal::cli {

// `read(id, out)` is a store's by-id read. kExitOk with `out` filled, kExitUsage for
// a malformed id, kExitNotFound or kExitStore otherwise (the message is printed).
template <typename Record, typename Read>
int LoadLiveRecord(CliContext& ctx, std::string_view what, Read read, int Record::*idField, int Record::*stateField,
                   Record& out) {
    const std::string text = ctx.args.word(2);
    const std::optional<int> id = ParseId(text);
    if (!id) return Fail(kExitUsage, "invalid " + std::string(what) + " id '" + text + "'");
    const bool found = read(*id, out) == 0 && out.*idField == *id && out.*stateField == 0;
    return found ? kExitOk : NotFoundOrStoreFailure(ctx.store, std::string(what) + " " + text);
}

}  // namespace kivtal::cli
