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

// Coins the stored entries of a batch cost (`stored[i]` for `batch[i]`): one per
// reminder added or changed. Withdrawing a reminder (state 1) is free, so an account
// without coins can still delete one; a resend the service recognised is not stored
// again and costs nothing.
std::int64_t ReminderCost(const std::vector<Change>& batch, const std::vector<bool>& stored);

bool HasSensitiveWord(std::string_view text);

// Why a batch is refused: an error code (nullptr when it may be stored) and the
// position in the batch of the entry that is refused, so that a client can keep that
// one aside and send the rest.
struct Refusal {
    const char* code = nullptr;
    std::size_t entry = 0;
};

// Sensitive words and certified names, checked before anything is stored.
Refusal CheckBatch(const Account& account, const std::vector<Change>& batch);
// The first stored reminder the account's coins no longer pay for.
Refusal CheckCoins(std::int64_t coins, const std::vector<Change>& batch, const std::vector<bool>& stored);

}  // namespace kivtal::service
