#pragma once
// What the service refuses in an uploaded batch before anything of it is stored:
// reminders the account cannot pay for, reminders with sensitive words, and a new name
// on a certified profile.
#include <cstdint>
#include <string_view>
#include <vector>

#include "Accounts.h"
#include "ChangeList.h"

namespace kivtal::service {

// Coins the batch costs: one per reminder added or changed. Withdrawing a reminder
// (state 1) is free, so an account without coins can still delete one.
std::int64_t ReminderCost(const std::vector<Change>& batch);

bool HasSensitiveWord(std::string_view text);

// An error code, or nullptr when the batch may be stored.
const char* CheckBatch(const Account& account, const std::vector<Change>& batch);

}  // namespace kivtal::service
