#pragma once
// The profile and settings records an account starts with. A device only ever gets
// its profile and settings rows from the feed, so without them a fresh device would
// have no row for the user's own edits (or the login) to update.
#include <string>

#include "Accounts.h"

namespace kivtal::service {

// The value strings, with the record's own server id still 0 (the feed fills it in).
// The password digest field stays empty: the service never spreads it.
std::string InitialProfileValue(const Account& account);
std::string InitialSettingsValue();

}  // namespace kivtal::service
