#pragma once
// A contact written as a vCard (3.0 by default, 4.0 on request) or as a CSV row. The
// vCard text is UTF-8 with CRLF line ends, folded at 75 octets without cutting a
// UTF-8 character; fields no vCard property holds go out as X-KIVTAL-... properties.
#include <string>
#include <string_view>

#include "model/Records.h"

namespace kivtal::vcard {

enum class VCardVersion { V30, V40 };

void AppendVCard(std::string& out, const BusinessCard& card, std::string_view groupName, VCardVersion version);

// Appends one content line folded so that no line exceeds 75 octets before its CRLF.
void AppendFolded(std::string& out, std::string_view line);

// "\", ",", ";" and line breaks escaped as vCard text wants them.
std::string EscapeText(std::string_view text);

// The UTF-8 byte-order mark and the header row, then one row per contact.
void AppendCsvHeader(std::string& out);
void AppendCsvRow(std::string& out, const BusinessCard& card, std::string_view groupName);

}  // namespace kivtal::vcard
