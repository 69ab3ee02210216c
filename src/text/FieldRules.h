#pragma once
// The checks on the text fields of the contact editor and the own profile editor.
// Each check is pure: it reports pass or fail together with the message the editor
// shows and the control it focuses; showing the message is the window's job.
//
// Texts are UTF-16, as the edit controls hold them: lengths count UTF-16 code units.
// An empty text passes every pattern check; whether a field may be empty is decided
// by the save checks (EditorChecks.h).
#include <optional>
#include <string>
#include <string_view>

namespace kivtal {

enum class Editor { Contact, Profile };

// A message box's title and text (UTF-8), labels already in place.
struct RuleMessage {
    std::string title;
    std::string text;

    bool operator==(const RuleMessage&) const = default;
};

struct RuleResult {
    bool passed = true;
    std::string field;                   // control to focus; empty until a field is named
    std::optional<RuleMessage> message;  // absent when passed, or for a silent failure

    static RuleResult Pass() { return {}; }
};

// The pattern rules. `label` replaces "%s" in the messages that have one. The name rules
// take the characters of NameChars.h, and their message names the first refused one;
// a contact's name is also at most 50 units long. A failed
// check of any rule but the e-mail rule also writes "匹配失败" as a diagnostic line.
RuleResult CheckContactName(std::u16string_view text);
RuleResult CheckOwnName(std::u16string_view text, std::string_view label);
RuleResult CheckMobile(std::u16string_view text, Editor editor, std::string_view label);
RuleResult CheckQqNumber(std::u16string_view text);
RuleResult CheckPhoneNumber(std::u16string_view text, std::string_view label);
RuleResult CheckEmail(std::u16string_view text);

// The e-mail predicate alone, without a message.
bool IsValidEmail(std::u16string_view text);
bool IsValidEmail(std::string_view utf8);

// The check of a field by its control name, as run when the field loses the focus.
// A control without a rule passes. A failure names `field` as the control to focus.
RuleResult CheckField(Editor editor, std::string_view field, std::u16string_view text);

inline constexpr const char* kTipTitle = "温馨提示";

// A message pattern with its "%s" replaced by a field's label.
std::string WithLabel(std::string_view pattern, std::string_view label);

}  // namespace kivtal
