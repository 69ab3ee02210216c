#pragma once
// What the service needs to know of the records' value strings: their fields are joined
// by "~麤^"; some fields hold the record's own server id or a parent's ids.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivtal::service {

inline constexpr std::string_view kFieldSeparator = "~\xE9\xBA\xA4^";

enum Kind : int {
    kContact = 1,
    kMatter = 2,
    kProfile = 3,
    kRemark = 4,
    kReminder = 5,
    kContactGroup = 6,
    kMatterGroup = 7,
    kSettings = 8,
    kBankAccount = 9,
};

// A parent reference: the sender's local id of the parent and the parent's server id.
struct ParentRef {
    int kind;
    std::size_t localField;
    std::size_t serverField;
};

struct KindLayout {
    std::size_t fieldCount;
    std::size_t serverIdField;
    std::optional<ParentRef> parent;
};

const KindLayout& LayoutOf(int kind);

// The profile and the settings exist once per account.
bool IsSingleton(int kind);

std::vector<std::string> SplitFields(std::string_view values);
std::string JoinFields(const std::vector<std::string>& fields);

// Decimal as the client reads it: leading blanks, sign, digits; 0 without digits.
int FieldInt(const std::vector<std::string>& fields, std::size_t index);

// Reminder fields the service acts on.
inline constexpr std::size_t kReminderText = 1;
inline constexpr std::size_t kReminderState = 6;
// The profile's password digest and the user's own name.
inline constexpr std::size_t kProfilePassword = 3;
inline constexpr std::size_t kProfileName = 5;

}  // namespace kivtal::service
