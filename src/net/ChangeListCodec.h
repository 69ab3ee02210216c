#pragma once
// The change list ("opers") that every upload to the service carries: a compact JSON
// document of the change-log entries, whose value strings are escaped so that they
// survive the service's form decoding.
#include <span>
#include <string>
#include <string_view>

#include "model/Records.h"

namespace kivtal {

// The member that tells a service this document's contents carry the reversible
// escaping below. Documents without it come from devices that mark escape-like text
// lossily ("%2b" and a typed "%^2B" both arrive as "%2B"); a service decodes those as
// it always has.
inline constexpr const char* kEscapingMember = "escaping";
inline constexpr const char* kEscapingVersion = "2";

// Escapes the characters a form would misread ("/", "+", "?", "#", "&", "=", "'") as
// %XX, and marks a typed '%' with '^' ("%^") when what follows it would otherwise be
// read: an escape above in either case, "5c"/"5C" (a backslash on the wire) or '^'.
// Every other '%' stays as it is. Broken UTF-8 becomes U+FFFD first. Decoding drops
// the '^' of every "%^" and turns the escapes back, giving the text exactly.
std::string EscapeChangeContent(std::string_view values);

// The form value for "opers": {"escaping":"2","opers":[{...},...]} written compactly,
// or null for an empty list, followed by a line break; every backslash becomes "%5c".
std::string EncodeChangeList(const SyncRecordList& entries);

// Gives each of the service's results the values of the sent entry it names (by kind
// and local id): what went up is what both sides now hold, the record's new base.
// A result naming no sent entry keeps its values.
void AttachSentValues(std::span<const SyncRecord> sent, SyncRecordList& results);

}  // namespace kivtal
