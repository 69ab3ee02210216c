#pragma once
// The live contacts' stored birthdays, for the coming-birthdays list, the calendar's
// birthday marks and the reminders.
#include <vector>

#include "store/LocalStore.h"
#include "text/Birthdays.h"

namespace kivtal {

// Appends every live contact whose birthday text is not empty, in table order. 0, or 1
// with nothing appended when the store cannot be opened or read.
int ReadContactBirthdays(LocalStore& store, std::vector<ContactBirthday>& out);

}  // namespace kivtal
