#pragma once
// Brings vCard files into the contact store. Each file is one transaction: its cards
// are added (or merged into the live contact they duplicate) together with their
// change-log entries, so an import syncs like typed contacts, and a store failure
// leaves nothing of the file behind. Cards that cannot be read are counted and named
// with their line; they never stop the rest of the file. A property that cannot be read
// is left out, counted and named with its line; the rest of its card is kept.
//
// A duplicate is a card whose name and (mobile or e-mail) match a live contact: it
// fills that contact's empty fields and adds bank accounts it lacks, and counts as
// merged, so importing the same file twice adds nothing the second time.
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <vector>

#include "store/LocalStore.h"

namespace kivtal::vcard {

struct ImportNote {
    std::string file;
    int line = 0;
    std::string text;
};

struct ImportReport {
    // Notes kept with their lines; the rest are only counted, so a file of a million
    // broken cards costs no more memory than one of a hundred.
    static constexpr std::size_t kMaxNotes = 100;

    int added = 0;
    int merged = 0;
    int skipped = 0;  // nothing to import (no name, company nor e-mail)
    int failed = 0;   // unreadable: cut off, too large, or its name unreadable
    // Properties of stored cards that could not be read (broken encoding, unknown
    // charset, longer than 1 MiB) and were left out; pictures are never counted.
    int propertiesLeftOut = 0;
    // Cards with a text that held the store's field separator "~\xE9\xBA\xA4^", which
    // was replaced by "~^" to store them.
    int separatorsReplaced = 0;
    // One per skipped or failed card and one per property left out, in file order:
    // the first kMaxNotes of them, and how many more there were.
    std::vector<ImportNote> notes;
    int notesLeftOut = 0;

    void AddNote(ImportNote note);
    int noteCount() const { return static_cast<int>(notes.size()) + notesLeftOut; }
    void Add(const ImportReport& other);
};

enum class ImportResult {
    Done,
    CannotRead,   // the file could not be opened or read
    NoSuchGroup,  // the group to import into is not a live group
    StoreFailed,  // nothing of the file was written
    Cancelled,    // the progress callback asked to stop; nothing of the file was written
};

// Called after every card with the bytes of the file read so far; false stops the
// import of the file and rolls it back.
using ImportProgress = std::function<bool(std::uint64_t)>;

class ContactImport {
public:
    // groupId: put every contact in that group (0: the group CATEGORIES names, created
    // when missing). dryRun: do everything, then roll back.
    ContactImport(LocalStore& store, int groupId, bool dryRun) : store_(store), groupId_(groupId), dryRun_(dryRun) {}

    // name labels the notes. The report receives the file's counts only when it was
    // committed (or, in a dry run, when it would have been).
    ImportResult ImportStream(std::istream& in, const std::string& name, ImportReport& report,
                              const ImportProgress& progress = {});
    ImportResult ImportFile(const std::string& path, ImportReport& report, const ImportProgress& progress = {});

private:
    LocalStore& store_;
    int groupId_;
    bool dryRun_;
};

// "added N, merged N, skipped N, failed N", then the properties left out and the
// replaced separators when any.
std::string SummaryLine(const ImportReport& report);

}  // namespace kivtal::vcard
