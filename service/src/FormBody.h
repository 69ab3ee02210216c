#pragma once
// Request bodies. The client writes its forms without URL encoding: identity values go
// in raw, and the last field of an upload ("opers=" or "bc_data=") runs to the end of
// the body and may itself hold '&' and '='. Browsers send ordinary URL-encoded forms.
#include <map>
#include <string>
#include <string_view>

namespace kivtal::service {

using FormFields = std::map<std::string, std::string, std::less<>>;

// Splits at '&' into name=value pairs, taken raw; once the name `tailName` is met, its
// value is everything up to the end of the body. A repeated name keeps its first value.
FormFields ParseClientForm(std::string_view body, std::string_view tailName = {});

// Undoes %XX escapes; with `plusIsSpace` also '+' (browser forms). Malformed escapes
// stay as they are.
std::string PercentDecode(std::string_view text, bool plusIsSpace);

// An ordinary application/x-www-form-urlencoded body.
FormFields ParseBrowserForm(std::string_view body);

// The value of `name`, or empty.
std::string_view Field(const FormFields& fields, std::string_view name);

}  // namespace kivtal::service
