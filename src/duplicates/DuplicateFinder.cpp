#include "duplicates/DuplicateFinder.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <unordered_map>

#include "duplicates/DuplicateKeys.h"

namespace kivtal::duplicates {
namespace {

using Index = std::unordered_map<std::string, std::vector<int>>;

class UnionFind {
public:
    explicit UnionFind(std::size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
    int Root(int i) {
        while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
        return i;
    }
    void Join(int a, int b) { parent_[Root(a)] = Root(b); }

private:
    std::vector<int> parent_;
};

struct Link {
    int member;  // an index into the contacts
    GroupReason reason;
};

void Put(Index& index, const std::string& key, int i) {
    if (key.empty()) return;
    std::vector<int>& members = index[key];
    if (members.empty() || members.back() != i) members.push_back(i);
}

// The reasons one bucket of the name index gives: the same written name, and a name
// written in the other order when the bucket holds both orders.
std::vector<Reason> NameReasons(const BusinessCardList& cards, const std::vector<int>& members) {
    std::map<std::string, int> spellings;
    for (int i : members) ++spellings[FoldedName(cards[i].bc_name)];
    std::vector<Reason> reasons;
    if (std::any_of(spellings.begin(), spellings.end(), [](const auto& s) { return s.second > 1; }))
        reasons.push_back(Reason::Name);
    if (spellings.size() > 1) reasons.push_back(Reason::NameOrder);
    return reasons;
}

// Names of one pinyin count only when they are written differently; equal names are
// the name index's.
std::vector<Reason> PinyinReasons(const BusinessCardList& cards, const std::vector<int>& members) {
    const std::string first = NameKey(cards[members.front()].bc_name);
    const bool differ =
        std::any_of(members.begin(), members.end(), [&](int i) { return NameKey(cards[i].bc_name) != first; });
    return differ ? std::vector<Reason>{Reason::Pinyin} : std::vector<Reason>{};
}

class Finder {
public:
    explicit Finder(const BusinessCardList& cards) : cards_(cards), groups_(cards.size()) {}

    void Collect(bool exactOnly) {
        for (int i = 0; i < static_cast<int>(cards_.size()); ++i) {
            const BusinessCard& c = cards_[i];
            Put(exact_, ExactKey(c), i);
            if (exactOnly) continue;
            Put(phones_, PhoneKey(c.cell_phone), i);
            Put(phones_, PhoneKey(c.fix_phone), i);
            Put(mails_, MailKey(c.mail), i);
            const std::string company = CompanyKey(c.company_name);
            if (company.empty()) continue;
            const std::string name = NameKey(c.bc_name);
            if (!name.empty()) Put(names_, name + '\x1f' + company, i);
            const std::string pinyin = PinyinKey(c.bc_name_pinyin);
            if (!pinyin.empty()) Put(pinyins_, pinyin + '\x1f' + company, i);
        }
    }

    void Connect() {
        Bucket(
            exact_, [](auto&, auto&) { return std::vector<Reason>{Reason::Exact}; }, NameValue);
        Bucket(
            phones_, [](auto&, auto&) { return std::vector<Reason>{Reason::Phone}; }, KeyValue);
        Bucket(
            mails_, [](auto&, auto&) { return std::vector<Reason>{Reason::Mail}; }, KeyValue);
        Bucket(names_, NameReasons, NameValue);
        Bucket(pinyins_, PinyinReasons, NameValue);
    }

    std::vector<DuplicateGroup> Groups(const IgnoredPairs* ignored) {
        std::map<int, DuplicateGroup> byRoot;
        for (int i = 0; i < static_cast<int>(cards_.size()); ++i)
            if (linked_[i]) byRoot[groups_.Root(i)].bcIds.push_back(cards_[i].bc_id);
        for (const Link& l : links_) {
            std::vector<GroupReason>& reasons = byRoot[groups_.Root(l.member)].reasons;
            if (std::find(reasons.begin(), reasons.end(), l.reason) == reasons.end()) reasons.push_back(l.reason);
        }
        std::vector<DuplicateGroup> out;
        for (auto& [root, group] : byRoot) {
            std::sort(group.bcIds.begin(), group.bcIds.end());
            if (ignored == nullptr || !AllIgnored(group.bcIds, *ignored)) out.push_back(std::move(group));
        }
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.bcIds < b.bcIds; });
        return out;
    }

private:
    static std::string KeyValue(const BusinessCard&, const std::string& key) { return key; }
    static std::string NameValue(const BusinessCard& card, const std::string&) {
        return card.company_name.empty() ? card.bc_name : card.bc_name + ", " + card.company_name;
    }

    template <class Reasons, class Value>
    void Bucket(const Index& index, Reasons reasonsOf, Value valueOf) {
        for (const auto& [key, members] : index) {
            if (members.size() < 2) continue;
            const std::vector<Reason> reasons = reasonsOf(cards_, members);
            if (reasons.empty()) continue;
            for (int i : members) {
                groups_.Join(i, members.front());
                linked_[i] = true;
            }
            for (Reason r : reasons) links_.push_back({members.front(), {r, valueOf(cards_[members.front()], key)}});
        }
    }

    static bool AllIgnored(const std::vector<int>& ids, const IgnoredPairs& ignored) {
        for (std::size_t a = 0; a < ids.size(); ++a)
            for (std::size_t b = a + 1; b < ids.size(); ++b)
                if (!ignored.contains({ids[a], ids[b]})) return false;
        return true;
    }

    const BusinessCardList& cards_;
    UnionFind groups_;
    std::vector<bool> linked_ = std::vector<bool>(cards_.size());
    std::vector<Link> links_;
    Index exact_, phones_, mails_, names_, pinyins_;
};

}  // namespace

std::vector<DuplicateGroup> FindDuplicates(const BusinessCardList& contacts, const FindOptions& options) {
    Finder finder(contacts);
    finder.Collect(options.exactOnly);
    finder.Connect();
    return finder.Groups(options.ignored);
}

const char* ReasonText(Reason reason) {
    switch (reason) {
        case Reason::Exact: return "所有字段相同";
        case Reason::Phone: return "手机或办公电话相同";
        case Reason::Mail: return "邮箱相同";
        case Reason::Name: return "姓名和公司相同";
        case Reason::NameOrder: return "姓名顺序颠倒，公司相同";
        case Reason::Pinyin: return "姓名拼音和公司相同";
    }
    return "";
}

const char* ReasonKey(Reason reason) {
    switch (reason) {
        case Reason::Exact: return "exact";
        case Reason::Phone: return "phone";
        case Reason::Mail: return "mail";
        case Reason::Name: return "name";
        case Reason::NameOrder: return "name_order";
        case Reason::Pinyin: return "pinyin";
    }
    return "";
}

}  // namespace kivtal::duplicates
