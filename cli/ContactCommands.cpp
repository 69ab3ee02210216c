// contacts list|search|show|add|edit|delete (import and export: TransferCommands.cpp;
// trash and restore: TrashCommands.cpp)
#include "CliContext.h"
#include "ContactFields.h"
#include "ExitCodes.h"
#include "LiveRecord.h"
#include "UserSession.h"
#include "store/ContactStore.h"

namespace kivtal::cli {

namespace {

int PrintContacts(CliContext& ctx, const BusinessCardList& list) {
    PrintRecords(ctx.output, ContactSummaryColumns(), list, ContactSummary);
    return kExitOk;
}

int LoadLiveContact(CliContext& ctx, ContactStore& contacts, BusinessCard& card) {
    return LoadLiveRecord(
        ctx, "contact", [&](int id, BusinessCard& out) { return contacts.FindContact(id, out); },
        &BusinessCard::bc_state, card);
}

// Reads only the columns printed: a list never needs the bank accounts.
int List(CliContext& ctx) {
    ContactListQuery query;
    if (const std::optional<std::string> group = ctx.args.value("group")) {
        const std::optional<int> id = ParseInt(*group);
        if (!id || *id < 0) return Fail(kExitUsage, "invalid --group '" + *group + "'");
        query.scope = ContactListQuery::Scope::Group;
        query.groupId = *id;
        query.order = ContactListQuery::Order::OldestFirst;
    } else if (ctx.args.has("by-age")) {
        query.order =
            ctx.args.has("desc") ? ContactListQuery::Order::NewestFirst : ContactListQuery::Order::OldestFirst;
    } else {
        query.order = ctx.args.has("desc") ? ContactListQuery::Order::NameDesc : ContactListQuery::Order::NameAsc;
    }
    ContactStore contacts(ctx.store);
    return PrintSummaries(ctx.output, contacts, query) == 0 ? kExitOk : FailRead(ctx.store);
}

int Search(CliContext& ctx) {
    BusinessCardList list;
    if (ContactStore(ctx.store).Search(ctx.args.word(2), list) != 0) return FailRead(ctx.store);
    return PrintContacts(ctx, list);
}

int Show(CliContext& ctx) {
    ContactStore contacts(ctx.store);
    BusinessCard card;
    if (const int c = LoadLiveContact(ctx, contacts, card); c != kExitOk) return c;
    PrintRecords(ctx.output, ContactDetailColumns(), BusinessCardList{card}, ContactDetail);
    return kExitOk;
}

int Add(CliContext& ctx) {
    if (ctx.args.has("remove-bank")) return Fail(kExitUsage, "--remove-bank is for contacts edit");
    ContactStore contacts(ctx.store);
    BusinessCard card;
    card.main_tab = 1;  // what the contact editor gives every new contact
    if (const int c = ApplyContactOptions(ctx.args, contacts, ctx.store, card); c != kExitOk) return c;
    if (const StoreStatus s = contacts.AddContact(card); s != StoreStatus::kOk) return FailWrite(ctx.store, s);
    return PrintContacts(ctx, {card});
}

int Edit(CliContext& ctx) {
    ContactStore contacts(ctx.store);
    BusinessCard card;
    if (const int c = LoadLiveContact(ctx, contacts, card); c != kExitOk) return c;
    const BusinessCard asRead = card;
    if (const int c = ApplyContactOptions(ctx.args, contacts, ctx.store, card); c != kExitOk) return c;
    KeepChangedAccounts(card, RemovedAccountIds(ctx.args));
    // Only the options given are written, over the row as it is by then: a sync of
    // another process between the read and the write keeps its changes.
    if (const StoreStatus s = contacts.SaveContactEdit(asRead, card); s != StoreStatus::kOk)
        return FailWrite(ctx.store, s);
    return PrintContacts(ctx, {card});
}

int Delete(CliContext& ctx) {
    ContactStore contacts(ctx.store);
    BusinessCard card;
    if (const int c = LoadLiveContact(ctx, contacts, card); c != kExitOk) return c;
    if (const StoreStatus s = contacts.DeleteContact(card); s != StoreStatus::kOk) return FailWrite(ctx.store, s);
    return kExitOk;
}

constexpr std::string_view kListOptions[] = {"group", "by-age", "desc"};

constexpr std::string_view kImportOptions[] = {"dry-run", "group"};
constexpr std::string_view kExportOptions[] = {"group", "vcard", "csv"};
constexpr std::string_view kDuplicateOptions[] = {"exact", "merge"};

constexpr Subcommand kContactCommands[] = {
    {"list", List, 2, "contacts list [--group ID] [--by-age] [--desc]", kListOptions},
    {"search", Search, 3, "contacts search TERM", {}},
    {"show", Show, 3, "contacts show ID", {}},
    {"add", Add, 2, "contacts add --name NAME [field options]", kContactOptions},
    {"edit", Edit, 3, "contacts edit ID [field options]", kContactOptions},
    {"delete", Delete, 3, "contacts delete ID", {}},
    {"trash", RunContactTrash, 2, "contacts trash", {}},
    {"restore", RunContactRestore, 3, "contacts restore ID...", {}, true},
    {"import", RunContactImport, 3, "contacts import FILE... [--dry-run] [--group ID]", kImportOptions, true},
    {"export", RunContactExport, 3, "contacts export [--group ID] [--vcard 3.0|4.0 | --csv] FILE", kExportOptions},
    {"duplicates", RunContactDuplicates, 2, "contacts duplicates [--exact] [--merge]", kDuplicateOptions},
    {"merge", RunContactMerge, 4, "contacts merge KEEP_ID OTHER_ID...", {}, true},
};

}  // namespace

int RunContacts(CliContext& ctx) { return RunSubcommand(ctx, "contacts", kContactCommands); }

}  // namespace kivtal::cli
