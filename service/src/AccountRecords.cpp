#include "AccountRecords.h"

#include <vector>

#include "ValueLayout.h"

namespace kivtal::service {

namespace {

// Field positions of the profile's value string that the service fills in.
constexpr std::size_t kProfileUserId = 0;
constexpr std::size_t kProfileLogin = 2;
constexpr std::size_t kProfileBirthdayType = 16;
constexpr std::size_t kProfileTitle = 18;
constexpr std::size_t kProfileCertification = 19;

// The profile's text fields; every other field is a number and starts at 0.
constexpr std::size_t kProfileTexts[] = {2, 3, 5, 6, 7, 9, 12, 13, 14, 15, 17};

}  // namespace

std::string InitialProfileValue(const Account& account) {
    std::vector<std::string> fields(LayoutOf(kProfile).fieldCount, "0");
    for (std::size_t text : kProfileTexts) fields[text].clear();
    // The device keeps this as its profile row's id and finds the row by the user_id
    // its login answered, so it must be the account's id.
    fields[kProfileUserId] = std::to_string(account.id);
    fields[kProfileLogin] = account.loginName;
    fields[kProfileName] = account.realName;
    fields[kProfileBirthdayType] = "1";  // solar
    fields[kProfileTitle] = "1";
    // The profile editor locks the name of a certified user; the service refuses a
    // rename of it anyway, so the device had better know.
    fields[kProfileCertification] = account.certified ? "1" : "0";
    return JoinFields(fields);
}

std::string InitialSettingsValue() {
    // s_id, coloumn_show, auto_update, exit_ways, auto_run, server_id: the client's
    // own defaults for a missing settings row.
    return JoinFields({"0", "6", "0", "0", "1", "0"});
}

}  // namespace kivtal::service
