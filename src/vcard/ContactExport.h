#pragma once
// Writes the live contacts (all, or one group's) as vCard 3.0 or 4.0, or as CSV for a
// spreadsheet. A file is written to a scratch file beside it and renamed over the
// target, so a failed export never leaves a half-written file under the wanted name.
#include <ostream>
#include <string>

#include "store/LocalStore.h"

namespace kivtal::vcard {

enum class ExportFormat { VCard30, VCard40, Csv };

enum class ExportResult {
    Done,
    NoSuchGroup,
    StoreFailed,
    CannotWrite,
};

class ContactExport {
public:
    // groupId 0: every live contact.
    ContactExport(LocalStore& store, int groupId, ExportFormat format)
        : store_(store), groupId_(groupId), format_(format) {}

    ExportResult ToStream(std::ostream& out, int& count);
    ExportResult ToFile(const std::string& path, int& count);
    // After CannotWrite: why, as a short English phrase.
    const std::string& failure() const { return failure_; }

private:
    ExportResult Render(std::string& text, int& count);

    LocalStore& store_;
    int groupId_;
    ExportFormat format_;
    std::string failure_;
};

}  // namespace kivtal::vcard
