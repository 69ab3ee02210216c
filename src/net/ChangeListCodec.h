#pragma once
// The change list ("opers") that every upload to the service carries: a compact JSON
// document of the change-log entries, whose value strings are escaped so that they
// survive the service's form decoding.
#include <string>
#include <string_view>

#include "model/Records.h"

namespace kivtal {

// Protects escape-like text already in a value string, then escapes the characters a
// form would misread ("/", "+", "?", "#", "&", "=", "'"). "%" itself stays as it is.
std::string EscapeChangeContent(std::string_view values);

// The form value for "opers": {"opers":[{...},...]} written compactly, or null for an
// empty list, followed by a line break; every backslash becomes "%5c".
std::string EncodeChangeList(const SyncRecordList& entries);

}  // namespace kivtal
