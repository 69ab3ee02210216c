// groups list|add|rename|delete: the contact groups.
#include "CliContext.h"
#include "ExitCodes.h"
#include "LiveRecord.h"
#include "UserSession.h"
#include "store/ContactStore.h"

namespace kivtal::cli {

namespace {

Json::Value GroupJson(const CardGroup& g) {
    Json::Value row(Json::objectValue);
    row["id"] = g.group_id;
    row["name"] = g.group_name;
    row["count"] = g.count;
    return row;
}

int PrintGroups(const CliContext& ctx, const CardGroupList& groups) {
    PrintRecords(ctx.output, {{"id"}, {"name"}, {"count"}}, groups, GroupJson);
    return kExitOk;
}

// Sets the group's name from command word `index` when it can be stored.
int SetName(const CliContext& ctx, std::size_t index, CardGroup& group) {
    group.group_name = ctx.args.word(index);
    if (group.group_name.empty()) return Fail(kExitUsage, "a group needs a name");
    return kExitOk;
}

int LoadLiveGroup(CliContext& ctx, ContactStore& contacts, CardGroup& group) {
    return LoadLiveRecord(
        ctx, "group", [&](int id, CardGroup& out) { return contacts.FindGroup(id, out); }, &CardGroup::group_state,
        group);
}

int List(CliContext& ctx) {
    CardGroupList groups;
    if (ContactStore(ctx.store).ContactGroups(groups) != 0) return FailRead(ctx.store);
    return PrintGroups(ctx, groups);
}

int Add(CliContext& ctx) {
    CardGroup group;
    if (const int c = SetName(ctx, 2, group); c != kExitOk) return c;
    if (const StoreStatus s = ContactStore(ctx.store).AddGroup(group); s != StoreStatus::kOk)
        return FailWrite(ctx.store, s);
    return PrintGroups(ctx, {group});
}

int Rename(CliContext& ctx) {
    ContactStore contacts(ctx.store);
    CardGroup group;
    if (const int c = LoadLiveGroup(ctx, contacts, group); c != kExitOk) return c;
    if (const int c = SetName(ctx, 3, group); c != kExitOk) return c;
    if (const StoreStatus s = contacts.ModifyGroup(group); s != StoreStatus::kOk) return FailWrite(ctx.store, s);
    return kExitOk;
}

int Delete(CliContext& ctx) {
    ContactStore contacts(ctx.store);
    CardGroup group;
    if (const int c = LoadLiveGroup(ctx, contacts, group); c != kExitOk) return c;
    if (const StoreStatus s = contacts.DeleteGroup(group); s != StoreStatus::kOk) return FailWrite(ctx.store, s);
    return kExitOk;
}

constexpr Subcommand kGroupCommands[] = {
    {"list", List, 2, "groups list", {}},
    {"add", Add, 3, "groups add NAME", {}},
    {"rename", Rename, 4, "groups rename ID NAME", {}},
    {"delete", Delete, 3, "groups delete ID", {}},
};

}  // namespace

int RunGroups(CliContext& ctx) { return RunSubcommand(ctx, "groups", kGroupCommands); }

}  // namespace kivtal::cli
