#pragma once
// Replies as the text that goes on the wire: compact JSON in UTF-8.
#include <json/json.h>

#include <string>
#include <string_view>

namespace kivtal::service {

// The reply object written compactly, its texts in UTF-8 as they are.
std::string WriteJson(const Json::Value& v);

// Appends `text` as a JSON string, quoted and escaped exactly as WriteJson writes a
// member's text: a reply made of such pieces reads as if WriteJson had written it,
// without the object built first (a receive carries a whole feed).
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace kivtal::service
