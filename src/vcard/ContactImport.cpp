#include "vcard/ContactImport.h"

#include <sqlite3.h>

#include <exception>
#include <fstream>

#include "model/ValueString.h"
#include "store/ContactStore.h"
#include "vcard/ContactMerge.h"
#include "vcard/VCardReader.h"
#include "vcard/VCardToContact.h"

namespace kivtal::vcard {
namespace {

constexpr const char* kLiveKeys = "SELECT bc_id,bc_name,cell_phone,mail FROM tb_bc WHERE bc_state = 0;";
constexpr std::string_view kSeparatorStandIn = "~^";

// Replaces the store's field separator in one text; true when there was one.
bool ReplaceSeparator(std::string& text) {
    bool replaced = false;
    for (std::size_t at; (at = text.find(kValueSeparator)) != std::string::npos;) {
        text.replace(at, kValueSeparator.size(), kSeparatorStandIn);
        replaced = true;
    }
    return replaced;
}

bool ReplaceSeparators(BusinessCard& card) {
    bool replaced = false;
    for (std::string* t : {&card.bc_name,
                           &card.company_name,
                           &card.cell_phone,
                           &card.home_phone,
                           &card.fix_phone,
                           &card.position,
                           &card.fax,
                           &card.addr_c_detail,
                           &card.addr_f_detail,
                           &card.web_site,
                           &card.birthday,
                           &card.mail,
                           &card.qq,
                           &card.ww,
                           &card.relate_contacts,
                           &card.main_business,
                           &card.hobby,
                           &card.belief,
                           &card.habit,
                           &card.how_to_konw,
                           &card.favor_food,
                           &card.bc_comment})
        replaced = ReplaceSeparator(*t) || replaced;
    for (UserBankInfo& a : card.bank_accounts)
        for (std::string* t : {&a.bank_name, &a.ubank_branch, &a.ubank_subbranch, &a.ubank_card, &a.ubank_user})
            replaced = ReplaceSeparator(*t) || replaced;
    return replaced;
}

// Pictures are never imported, so leaving out a huge one is no news.
bool IsPicture(const std::string& property) {
    return property == "PHOTO" || property == "LOGO" || property == "SOUND" || property == "KEY";
}

// The work on one file inside its transaction. A store failure ends it at once.
class FileImport {
public:
    FileImport(SqliteDb& db, const std::string& name, int groupId, ImportReport& report)
        : db_(db), name_(name), groupId_(groupId), report_(report) {}

    ImportResult Load() {
        ResultTable t;
        if (db_.query(kLiveKeys, t) != SQLITE_OK) return ImportResult::StoreFailed;
        for (int r = 0; r < t.rows(); ++r) index_.Add(t.integer(r, 0), t.text(r, 1), t.text(r, 2), t.text(r, 3));
        if (ReadLiveGroups(db_, groups_) != 0) return ImportResult::StoreFailed;
        if (groupId_ != 0 && FindGroup([&](const CardGroup& g) { return g.group_id == groupId_; }) == nullptr)
            return ImportResult::NoSuchGroup;
        return ImportResult::Done;
    }

    ImportResult Run(std::istream& in, const ImportProgress& progress) {
        VCardReader reader(in);
        CharsetConverter conv;
        RawCard raw;
        while (reader.Next(raw)) {
            if (!Take(raw, conv)) return ImportResult::StoreFailed;
            if (progress && !progress(reader.bytesRead())) return ImportResult::Cancelled;
        }
        if (in.bad()) return ImportResult::CannotRead;
        if (reader.cardsSeen() > 0) return ImportResult::Done;
        if (const int line = reader.strayBeginLine(); line != 0)
            Note(report_.failed, line, "BEGIN:VCARD is not alone on its line; no card could be read");
        else Note(report_.failed, 1, "no vCard (BEGIN:VCARD) in the file");
        return ImportResult::Done;
    }

private:
    // False only when the store failed.
    bool Take(const RawCard& raw, CharsetConverter& conv) {
        CardContent content;
        CardProblem problem;
        std::vector<CardProblem> leftOut;
        if (!ContactFromVCard(raw, conv, content, problem, leftOut)) {
            Note(report_.failed, problem.line, problem.text);
            return true;
        }
        for (const auto& [line, property] : raw.dropped)
            if (!IsPicture(property))
                Note(report_.propertiesLeftOut, line, property + " is longer than 1 MiB; left out");
        for (const CardProblem& p : leftOut) Note(report_.propertiesLeftOut, p.line, p.text + "; left out");
        BusinessCard& card = content.card;
        if (card.bc_name.empty() && !leftOut.empty()) {
            Note(report_.failed, raw.line, "the card's name, company or e-mail could not be read");
            return true;
        }
        if (card.bc_name.empty()) {
            Note(report_.skipped, raw.line, "the card has no name, company or e-mail");
            return true;
        }
        if (ReplaceSeparators(card)) ++report_.separatorsReplaced;
        const CardGroup* group = GroupFor(content.category);
        if (!content.category.empty() && groupId_ == 0 && group == nullptr) return false;
        try {
            const int duplicate = index_.Find(card);
            return duplicate != 0 ? Merge(duplicate, card, group) : Add(card, group);
        } catch (const std::exception&) {
            return false;
        }
    }

    bool Add(BusinessCard& card, const CardGroup* group) {
        if (group != nullptr) card.group_id = group->group_id;
        if (InsertContact(db_, card) != StoreStatus::kOk) return false;
        index_.Add(card.bc_id, card.bc_name, card.cell_phone, card.mail);
        ++report_.added;
        return true;
    }

    bool Merge(int bcId, const BusinessCard& card, const CardGroup* group) {
        BusinessCard existing;
        if (ReadContact(db_, bcId, existing) != 0) return false;
        bool changed = MergeInto(existing, card);
        if (group != nullptr && existing.group_id == 0) {
            existing.group_id = group->group_id;
            changed = true;
        }
        if (changed && UpdateContact(db_, existing) != StoreStatus::kOk) return false;
        ++report_.merged;
        return true;
    }

    // The --group group, else the CATEGORIES group, created when missing; null when
    // there is none or creating it failed. The pointer is good until the next call.
    const CardGroup* GroupFor(const std::string& category) {
        if (groupId_ != 0) return FindGroup([&](const CardGroup& g) { return g.group_id == groupId_; });
        if (category.empty()) return nullptr;
        if (const CardGroup* g = FindGroup([&](const CardGroup& g) { return g.group_name == category; })) return g;
        CardGroup group;
        group.group_name = category;
        ReplaceSeparator(group.group_name);
        if (InsertGroup(db_, group) != 0) return nullptr;
        groups_.push_back(group);
        return &groups_.back();
    }

    template <class Pred>
    const CardGroup* FindGroup(Pred pred) const {
        for (const CardGroup& g : groups_)
            if (pred(g)) return &g;
        return nullptr;
    }

    void Note(int& counter, int line, std::string text) {
        ++counter;
        report_.AddNote({name_, line, std::move(text)});
    }

    SqliteDb& db_;
    const std::string& name_;
    int groupId_;
    ImportReport& report_;
    DuplicateIndex index_;
    CardGroupList groups_;
};

}  // namespace

void ImportReport::AddNote(ImportNote note) {
    if (notes.size() < kMaxNotes) notes.push_back(std::move(note));
    else ++notesLeftOut;
}

void ImportReport::Add(const ImportReport& other) {
    added += other.added;
    merged += other.merged;
    skipped += other.skipped;
    failed += other.failed;
    propertiesLeftOut += other.propertiesLeftOut;
    separatorsReplaced += other.separatorsReplaced;
    for (const ImportNote& note : other.notes) AddNote(note);
    notesLeftOut += other.notesLeftOut;
}

ImportResult ContactImport::ImportStream(std::istream& in, const std::string& name, ImportReport& report,
                                         const ImportProgress& progress) {
    StoreSession session = store_.OpenUserDb();
    if (!session.ok()) return ImportResult::StoreFailed;
    SqliteTransaction tx(session.db());
    if (!tx.began()) return ImportResult::StoreFailed;
    ImportReport file;
    FileImport run(session.db(), name, groupId_, file);
    ImportResult result = run.Load();
    if (result == ImportResult::Done) result = run.Run(in, progress);
    if (result != ImportResult::Done) return result;
    if (!dryRun_ && tx.commit() != SQLITE_OK) return ImportResult::StoreFailed;
    report.Add(file);
    return ImportResult::Done;
}

ImportResult ContactImport::ImportFile(const std::string& path, ImportReport& report, const ImportProgress& progress) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return ImportResult::CannotRead;
    return ImportStream(in, path, report, progress);
}

std::string SummaryLine(const ImportReport& r) {
    std::string line = "added " + std::to_string(r.added) + ", merged " + std::to_string(r.merged) + ", skipped " +
                       std::to_string(r.skipped) + ", failed " + std::to_string(r.failed);
    if (r.propertiesLeftOut > 0)
        line += " (" + std::to_string(r.propertiesLeftOut) + (r.propertiesLeftOut == 1 ? " property" : " properties") +
                " left out)";
    if (r.separatorsReplaced > 0)
        line += " (" + std::to_string(r.separatorsReplaced) + " with \"~\xE9\xBA\xA4^\" replaced by \"~^\")";
    return line;
}

}  // namespace kivtal::vcard
