// cards read: business-card pictures read on this computer, printed or stored as contacts.
#include <array>
#include <iostream>

#include "CliContext.h"
#include "ContactFields.h"
#include "ExitCodes.h"
#include "UserSession.h"
#include "cards/CardReader.h"
#include "store/ContactStore.h"

namespace kivtal::cli {

namespace {

using cards::CardField;
using cards::CardReader;
using cards::CardScan;
using cards::CardStatus;

constexpr std::string_view kReadOptions[] = {"add"};
constexpr std::string_view kUsage = "cards read IMAGE... [--add]";

// Each field read, with the `contacts add` option that stores it.
struct FieldOption {
    CardField field;
    std::string_view option;
};
constexpr std::array<FieldOption, cards::kCardFieldCount> kFieldOptions = {{
    {CardField::kName, "name"},
    {CardField::kCompany, "company"},
    {CardField::kPosition, "position"},
    {CardField::kMobile, "mobile"},
    {CardField::kOfficePhone, "office-phone"},
    {CardField::kFax, "fax"},
    {CardField::kEmail, "email"},
    {CardField::kWebSite, "web"},
    {CardField::kQq, "qq"},
    {CardField::kAddress, "company-address"},
}};

std::vector<Column> ReadColumns(bool added) {
    std::vector<Column> columns{{"file"}, {"status"}};
    if (added) columns.push_back({"id"});
    for (const FieldOption& f : kFieldOptions) columns.push_back({std::string(cards::CardFieldKey(f.field))});
    return columns;
}

// The fields read with confidence and taken by the contact editor's rules; a name is
// needed, so the company or the e-mail address stands in for a missing one.
Args ContactOptions(const CardScan& scan) {
    Args args;
    for (const FieldOption& f : kFieldOptions) {
        const cards::FieldReading& read = scan.reading[f.field];
        if (read.confidence < cards::kConfidentReading) continue;
        if (RefusedContactValue(f.option, read.value)) continue;
        args.options.emplace_back(std::string(f.option), read.value);
    }
    if (!args.has("name")) {
        if (auto stand = args.value("company") ? args.value("company") : args.value("email"))
            args.options.emplace_back("name", *stand);
    }
    return args;
}

// Stores the picture's contact in its own transaction; kExitOk with the new id in `row`.
int AddContact(CliContext& ctx, const CardScan& scan, Json::Value& row) {
    const Args options = ContactOptions(scan);
    if (!options.has("name"))
        return Fail(kExitIncomplete, row["file"].asString() + ": no name, company or e-mail read");
    ContactStore contacts(ctx.store);
    BusinessCard card;
    card.main_tab = 1;  // what the contact editor gives every new contact
    if (const int c = ApplyContactOptions(options, contacts, ctx.store, card); c != kExitOk) return c;
    if (const StoreStatus s = contacts.AddContact(card); s != StoreStatus::kOk) return FailWrite(ctx.store, s);
    row["id"] = card.bc_id;
    return kExitOk;
}

Json::Value Row(const std::string& file, const CardScan& scan) {
    Json::Value row;
    row["file"] = file;
    row["status"] = cards::CardStatusText(scan.status);
    Json::Value confidence(Json::objectValue);
    for (const FieldOption& f : kFieldOptions) {
        const cards::FieldReading& read = scan.reading[f.field];
        const bool sure = read.confidence >= cards::kConfidentReading;
        const std::string key(cards::CardFieldKey(f.field));
        row[key] = sure ? read.value : "";
        if (sure) confidence[key] = read.confidence;
    }
    row["confidence"] = confidence;
    return row;
}

int Read(CliContext& ctx) {
    const bool add = ctx.args.has("add");
    LoginRecord login;
    if (add)
        if (const int c = SelectLastUser(ctx.store, login); c != kExitOk) return c;
    std::string error;
    const std::unique_ptr<CardReader> reader = CardReader::Create(&error);
    if (!reader) return Fail(kExitStore, error);
    Table table(ReadColumns(add));
    int code = kExitOk;
    for (std::size_t i = 2; i < ctx.args.words.size(); ++i) {
        const std::string& file = ctx.args.words[i];
        const CardScan scan = reader->ReadFile(file);
        Json::Value row = Row(file, scan);
        if (scan.status != CardStatus::kRead)
            code = std::max<int>(code, Fail(kExitIncomplete, file + ": " + cards::CardStatusText(scan.status)));
        else if (add)
            if (const int c = AddContact(ctx, scan, row); c != kExitOk) code = std::max(code, c);
        table.add(std::move(row));
    }
    table.print(ctx.output, std::cout);
    return code;
}

}  // namespace

int RunCards(CliContext& ctx) {
    if (ctx.args.word(1) != "read")
        return Fail(kExitUsage, "unknown cards command '" + ctx.args.word(1) + "' (see kivtal-cli --help)");
    if (const int c = CheckOptions(ctx.args, kReadOptions); c != kExitOk) return c;
    if (ctx.args.words.size() < 3) return Fail(kExitUsage, "usage: kivtal-cli " + std::string(kUsage));
    return Read(ctx);
}

}  // namespace kivtal::cli
