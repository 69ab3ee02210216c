#include "store/ContactSearch.h"

#include <algorithm>

#include "text/NamePinyin.h"

namespace kivtal {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

void AppendFolded(std::string& out, std::string_view text) {
    for (char c : text) out += AsciiLower(c);
}

std::string Folded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendFolded(out, text);
    return out;
}

// Whether one of the '\0'-ended texts holds the term.
bool AnyTextHolds(std::string_view texts, std::string_view term) {
    // A term without '\0' cannot be found across the end of a text.
    if (term.find('\0') == std::string_view::npos) return texts.find(term) != std::string_view::npos;
    for (std::size_t start = 0, end; (end = texts.find('\0', start)) != std::string_view::npos; start = end + 1)
        if (texts.substr(start, end - start).find(term) != std::string_view::npos) return true;
    return false;
}

}  // namespace

ContactSearch::ContactSearch(const ContactSummaryList& rows) {
    rows_.reserve(rows.size());
    for (const ContactSummary& s : rows) {
        Row row;
        for (const std::string* text :
             {&s.bc_name, &s.cell_phone, &s.home_phone, &s.fix_phone, &s.mail, &s.company_name, &s.position}) {
            AppendFolded(row.texts, *text);
            row.texts += '\0';
        }
        row.name = s.bc_name;
        row.pinyin = s.bc_name_pinyin;
        rows_.push_back(std::move(row));
    }
}

bool ContactSearch::Matches(Row& row, std::string_view folded, std::string_view term) const {
    if (AnyTextHolds(row.texts, folded)) return true;
    if (!row.syllables) row.syllables = PinyinSyllables(row.name, row.pinyin);
    return PinyinMatches(*row.syllables, term);
}

const std::vector<int>& ContactSearch::Find(std::string_view term) {
    // Both halves of a match keep holding when the term is cut back at its end, so a
    // longer term only ever loses rows.
    const bool narrowing = !lastTerm_.empty() && term.substr(0, lastTerm_.size()) == lastTerm_;
    std::vector<int> candidates;
    if (narrowing) {
        candidates.swap(found_);
    } else {
        candidates.resize(rows_.size());
        for (std::size_t i = 0; i < rows_.size(); ++i) candidates[i] = static_cast<int>(i);
    }
    found_.clear();
    const std::string folded = Folded(term);
    std::copy_if(candidates.begin(), candidates.end(), std::back_inserter(found_),
                 [&](int i) { return Matches(rows_[static_cast<std::size_t>(i)], folded, term); });
    lastTerm_ = term;
    return found_;
}

}  // namespace kivtal
