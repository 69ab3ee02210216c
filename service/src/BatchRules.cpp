#include "BatchRules.h"

#include "ErrorCodes.h"
#include "ValueLayout.h"

namespace kivtal::service {

namespace {

// Reminders go out as messages to other people under the service's name.
constexpr std::string_view kSensitiveWords[] = {
    "赌博", "博彩", "毒品", "枪支", "诈骗", "洗钱", "代开发票", "传销",
};

bool IsLiveReminder(const Change& c, const std::vector<std::string>& fields) {
    return c.oper_id == kReminder && FieldInt(fields, kReminderState) == 0;
}

bool RenamesCertified(const Account& account, const Change& c) {
    if (c.oper_id != kProfile || !account.certified || account.realName.empty()) return false;
    const auto fields = SplitFields(c.content);
    return fields.size() > kProfileName && fields[kProfileName] != account.realName;
}

std::int64_t CostOf(const Change& c) { return c.oper_id == kReminder && IsLiveReminder(c, SplitFields(c.content)); }

}  // namespace

std::int64_t ReminderCost(const std::vector<Change>& batch, const std::vector<bool>& stored) {
    std::int64_t cost = 0;
    for (std::size_t i = 0; i < batch.size(); ++i) cost += stored[i] ? CostOf(batch[i]) : 0;
    return cost;
}

bool HasSensitiveWord(std::string_view text) {
    for (std::string_view word : kSensitiveWords) {
        if (text.find(word) != std::string_view::npos) return true;
    }
    return false;
}

Refusal CheckBatch(const Account& account, const std::vector<Change>& batch) {
    for (std::size_t i = 0; i < batch.size(); ++i) {
        const Change& c = batch[i];
        if (c.oper_id != kReminder) continue;
        const auto fields = SplitFields(c.content);
        if (IsLiveReminder(c, fields) && fields.size() > kReminderText && HasSensitiveWord(fields[kReminderText])) {
            return {code::kSensitiveWord, i};
        }
    }
    for (std::size_t i = 0; i < batch.size(); ++i) {
        if (RenamesCertified(account, batch[i])) return {code::kCertifiedName, i};
    }
    return {};
}

Refusal CheckCoins(std::int64_t coins, const std::vector<Change>& batch, const std::vector<bool>& stored) {
    std::int64_t cost = 0;
    for (std::size_t i = 0; i < batch.size(); ++i) {
        cost += stored[i] ? CostOf(batch[i]) : 0;
        if (cost > coins) return {code::kNoCoins, i};
    }
    return {};
}

}  // namespace kivtal::service
