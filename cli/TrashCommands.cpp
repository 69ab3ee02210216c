// contacts trash|restore ID... and matters trash|restore ID...: the deleted records of
// the last 30 days, and bringing them back as edits that the next sync sends.
#include "CliContext.h"
#include "ExitCodes.h"
#include "TimeText.h"
#include "UserSession.h"
#include "model/Clock.h"
#include "store/TrashStore.h"

namespace kivtal::cli {

namespace {

// The columns of a trash row; `titleKey` names the record's title (name, description).
std::vector<Column> TrashColumns(const char* titleKey, bool withDetail) {
    std::vector<Column> columns{{"id"}, {titleKey}};
    if (withDetail) columns.push_back({"company"});
    columns.push_back({"deleted"});
    return columns;
}

int PrintTrash(CliContext& ctx, int (TrashStore::*read)(int, TrashedRecordList&), const char* titleKey,
               bool withDetail) {
    TrashStore trash(ctx.store);
    TrashedRecordList list;
    if ((trash.*read)(TrashStore::WindowStart(NowSeconds()), list) != 0) return FailRead(ctx.store);
    PrintRecords(ctx.output, TrashColumns(titleKey, withDetail), list, [&](const TrashedRecord& r) {
        Json::Value row(Json::objectValue);
        row["id"] = r.id;
        row[titleKey] = r.title;
        if (withDetail) row["company"] = r.detail;
        row["deleted"] = LocalClockText(r.deleted_at);
        row["deleted_at"] = r.deleted_at;
        return row;
    });
    return kExitOk;
}

// Every id from the third word on, all restored or none.
int Restore(CliContext& ctx, int (TrashStore::*restore)(const std::vector<int>&), const char* what) {
    std::vector<int> ids;
    for (std::size_t i = 2; i < ctx.args.words.size(); ++i) {
        const std::optional<int> id = ParseId(ctx.args.word(i));
        if (!id) return Fail(kExitUsage, std::string("invalid ") + what + " id '" + ctx.args.word(i) + "'");
        ids.push_back(*id);
    }
    TrashStore trash(ctx.store);
    const int result = (trash.*restore)(ids);
    if (result == TrashStore::kNotDeleted)
        return Fail(kExitNotFound, std::string("not every id names a deleted ") + what + "; nothing was restored");
    return result == 0 ? kExitOk : FailWrite(ctx.store, result);
}

}  // namespace

int RunContactTrash(CliContext& ctx) { return PrintTrash(ctx, &TrashStore::DeletedContacts, "name", true); }
int RunMatterTrash(CliContext& ctx) { return PrintTrash(ctx, &TrashStore::DeletedMatters, "description", false); }
int RunContactRestore(CliContext& ctx) { return Restore(ctx, &TrashStore::RestoreContacts, "contact"); }
int RunMatterRestore(CliContext& ctx) { return Restore(ctx, &TrashStore::RestoreMatters, "matter"); }

}  // namespace kivtal::cli
