// matters list|add|delete (trash and restore: TrashCommands.cpp)
#include "CliContext.h"
#include "ExitCodes.h"
#include "LiveRecord.h"
#include "TimeText.h"
#include "UserSession.h"
#include "model/Clock.h"
#include "store/MatterStore.h"

namespace kivtal::cli {

namespace {

Json::Value MatterJson(const TalEvent& m) {
    Json::Value row(Json::objectValue);
    row["id"] = m.event_id;
    row["start"] = BeijingText(m.start_time);
    row["end"] = BeijingText(m.end_time);
    row["start_time"] = m.start_time;
    row["end_time"] = m.end_time;
    row["group_id"] = m.group_id;
    row["pinned"] = m.place_top;
    row["description"] = m.description;
    return row;
}

int PrintMatters(const CliContext& ctx, const TalEventList& matters) {
    PrintRecords(ctx.output,
                 {{"id"}, {"start"}, {"end"}, {"start_time"}, {"end_time"}, {"group_id"}, {"pinned"}, {"description"}},
                 matters, MatterJson);
    return kExitOk;
}

int ReadTime(const CliContext& ctx, std::string_view option, int fallback, int& out) {
    const std::optional<std::string> text = ctx.args.value(option);
    if (!text) {
        out = fallback;
        return kExitOk;
    }
    const std::optional<int> t = ParseBeijingTime(*text);
    if (!t)
        return Fail(kExitUsage,
                    "invalid --" + std::string(option) + " '" + *text + "': YYYY-MM-DD [HH:MM] (Beijing time)");
    out = *t;
    return kExitOk;
}

// --group: a live matter group, or 0 for the default group (the store fills the
// group's server id).
int ReadGroup(CliContext& ctx, TalEvent& matter) {
    const std::optional<std::string> text = ctx.args.value("group");
    if (!text || *text == "0") {
        matter.group_id = 0;
        return kExitOk;
    }
    const std::optional<int> id = ParseId(*text);
    if (!id) return Fail(kExitUsage, "invalid --group '" + *text + "'");
    EventGroup group;
    if (MatterStore(ctx.store).MatterGroupById(*id, group) != 0) return FailRead(ctx.store);
    if (group.group_id != *id || group.group_state != 0)
        return Fail(kExitNotFound, "matter group " + *text + " not found");
    matter.group_id = group.group_id;
    return kExitOk;
}

int List(CliContext& ctx) {
    int at = 0;
    if (const int c = ReadTime(ctx, "at", NowSeconds(), at); c != kExitOk) return c;
    MatterStore matters(ctx.store);
    TalEventList list;
    int result = 0;
    if (const std::optional<std::string> group = ctx.args.value("group")) {
        const std::optional<int> id = ParseInt(*group);
        if (!id || *id < 0) return Fail(kExitUsage, "invalid --group '" + *group + "'");
        result = matters.MattersOfGroupAt(at, *id, list);
    } else {
        result = matters.MattersAt(at, list);
    }
    return result == 0 ? PrintMatters(ctx, list) : FailRead(ctx.store);
}

int Add(CliContext& ctx) {
    TalEvent matter;
    matter.description = ctx.args.value("description").value_or("");
    if (matter.description.empty()) return Fail(kExitUsage, "a matter needs a description (--description)");
    if (!ctx.args.has("start") || !ctx.args.has("end")) return Fail(kExitUsage, "a matter needs --start and --end");
    if (const int c = ReadTime(ctx, "start", 0, matter.start_time); c != kExitOk) return c;
    if (const int c = ReadTime(ctx, "end", 0, matter.end_time); c != kExitOk) return c;
    if (matter.end_time < matter.start_time) return Fail(kExitUsage, "the matter ends before it starts");
    if (const int c = ReadGroup(ctx, matter); c != kExitOk) return c;
    matter.place_top = ctx.args.has("pin") ? 1 : 0;
    matter.create_time = NowSeconds();
    if (const StoreStatus s = MatterStore(ctx.store).AddMatter(matter); s != StoreStatus::kOk)
        return FailWrite(ctx.store, s);
    return PrintMatters(ctx, {matter});
}

int Delete(CliContext& ctx) {
    MatterStore matters(ctx.store);
    TalEvent matter;
    const int found = LoadLiveRecord(
        ctx, "matter", [&](int id, TalEvent& out) { return matters.FindMatter(id, out); }, &TalEvent::event_state,
        matter);
    if (found != kExitOk) return found;
    if (const StoreStatus s = matters.DeleteMatter(matter); s != StoreStatus::kOk) return FailWrite(ctx.store, s);
    return kExitOk;
}

constexpr std::string_view kListOptions[] = {"at", "group"};
constexpr std::string_view kAddOptions[] = {"description", "start", "end", "group", "pin"};

constexpr Subcommand kMatterCommands[] = {
    {"list", List, 2, "matters list [--at TIME] [--group ID]", kListOptions},
    {"add", Add, 2, "matters add --description TEXT --start TIME --end TIME [--group ID] [--pin]", kAddOptions},
    {"delete", Delete, 3, "matters delete ID", {}},
    {"trash", RunMatterTrash, 2, "matters trash", {}},
    {"restore", RunMatterRestore, 3, "matters restore ID...", {}, true},
};

}  // namespace

int RunMatters(CliContext& ctx) { return RunSubcommand(ctx, "matters", kMatterCommands); }

}  // namespace kivtal::cli
