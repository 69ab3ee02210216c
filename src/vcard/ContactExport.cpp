#include "vcard/ContactExport.h"

#include <map>

#include "store/ContactStore.h"
#include "vcard/ContactToVCard.h"
#include "vcard/ExportTarget.h"

namespace kivtal::vcard {

ExportResult ContactExport::Render(std::string& text, int& count) {
    ContactStore contacts(store_);
    CardGroupList groups;
    if (contacts.ContactGroups(groups) != 0) return ExportResult::StoreFailed;
    std::map<int, std::string> names;
    for (const CardGroup& g : groups) names[g.group_id] = g.group_name;
    if (groupId_ != 0 && !names.contains(groupId_)) return ExportResult::NoSuchGroup;
    BusinessCardList list;
    const int rc = groupId_ != 0 ? contacts.ContactsOfGroup(groupId_, list) : contacts.AllContactsByName(false, list);
    if (rc != 0) return ExportResult::StoreFailed;
    text.clear();
    text.reserve(list.size() * 512);
    if (format_ == ExportFormat::Csv) AppendCsvHeader(text);
    for (const BusinessCard& card : list) {
        const auto group = names.find(card.group_id);
        const std::string& groupName = group != names.end() ? group->second : std::string();
        if (format_ == ExportFormat::Csv) AppendCsvRow(text, card, groupName);
        else
            AppendVCard(text, card, groupName,
                        format_ == ExportFormat::VCard40 ? VCardVersion::V40 : VCardVersion::V30);
    }
    count = static_cast<int>(list.size());
    return ExportResult::Done;
}

ExportResult ContactExport::ToStream(std::ostream& out, int& count) {
    std::string text;
    int n = 0;
    if (const ExportResult r = Render(text, n); r != ExportResult::Done) return r;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
        failure_ = "the output refused the text";
        return ExportResult::CannotWrite;
    }
    count = n;
    return ExportResult::Done;
}

ExportResult ContactExport::ToFile(const std::string& path, int& count) {
    std::string text;
    int n = 0;
    if (const ExportResult r = Render(text, n); r != ExportResult::Done) return r;
    if (!WriteExportTarget(path, text, failure_)) return ExportResult::CannotWrite;
    count = n;
    return ExportResult::Done;
}

}  // namespace kivtal::vcard
