#pragma once
// The birthday reminders' memory on this device: which notices were shown (so each shows
// once, across restarts), and how many days ahead the first one comes. Kept in the user
// database in tables of their own that never sync: another device reminds on its own.
#include <vector>

#include "store/LocalStore.h"
#include "text/Birthdays.h"

namespace kivtal {

// The days-ahead setting: kDefaultBirthdayNoticeDays until one is saved. 0, or 1 with
// `days` untouched when the store cannot be read.
int ReadBirthdayNoticeDays(LocalStore& store, int& days);
// 0 to 30; 0, or 1 (nothing stored) for a failed write or a value out of range.
int SaveBirthdayNoticeDays(LocalStore& store, int days);

// Removes from `notices` those already shown (by contact, the date the birthday falls on
// and the kind of notice). 0, or 1 with `notices` untouched.
int DropShownNotices(LocalStore& store, std::vector<BirthdayNotice>& notices);
// Remembers the notice as shown, and forgets those of birthdays more than a year past.
// 0 or 1.
int MarkNoticeShown(LocalStore& store, const BirthdayNotice& notice);

}  // namespace kivtal
