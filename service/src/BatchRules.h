#pragma once
// What the service refuses in an uploaded batch before anything of it is stored:
// reminders the account cannot pay for, reminders with sensitive words, and a new name
// on a certified profile.
#include <cstddef>
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

// Why a batch is refused: an error code (nullptr when it may be stored) and the
// position in the batch of the entry that is refused, so that a client can keep that
// one aside and send the rest.
struct Refusal {
    const char* code = nullptr;
    std::size_t entry = 0;
};

Refusal CheckBatch(const Account& account, const std::vector<Change>& batch);

}  // namespace kivtal::service
