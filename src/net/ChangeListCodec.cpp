#include "net/ChangeListCodec.h"

#include <json/json.h>

#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "text/TextConv.h"

namespace kivtal {

namespace {

// The form characters a decoder reads as escapes, each with the escape it travels as.
constexpr std::pair<char, std::string_view> kEscapes[] = {
    {'/', "%2F"}, {'+', "%2B"}, {'?', "%3F"}, {'#', "%23"}, {'&', "%26"}, {'=', "%3D"}, {'\'', "%27"},
};

// Two characters after a typed '%' that a decoder would read: the escapes above in
// either case, and "5C", which the document's backslashes travel as.
constexpr std::string_view kReadAfterPercent[] = {"2B", "3F", "23", "26", "3D", "27", "2F", "5C"};

std::optional<std::string_view> EscapeOf(char c) {
    for (const auto& [plain, escape] : kEscapes)
        if (plain == c) return escape;
    return std::nullopt;
}

// A typed '%' gets the mark '^' after it when what follows would otherwise be read:
// one of the codes above (so "%2B" stays text and "%5c" cannot turn into a backslash)
// or a '^' (so a typed "%^" is not taken for a mark). The decoder drops the one '^'
// after every "%^", which makes the escaping exactly reversible.
bool NeedsMark(std::string_view after) {
    if (!after.empty() && after.front() == '^') return true;
    if (after.size() < 2) return false;
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    const char code[] = {upper(after[0]), upper(after[1])};
    for (std::string_view read : kReadAfterPercent)
        if (read == std::string_view(code, 2)) return true;
    return false;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string_view::npos; hit = text.find(from, start)) {
        out.append(text, start, hit - start);
        out.append(to);
        start = hit + from.size();
    }
    out.append(text, start);
    return out;
}

Json::Value EntryObject(const SyncRecord& r) {
    Json::Value o(Json::objectValue);
    o["client_id"] = std::to_string(r.s_row_id);
    o["content"] = EscapeChangeContent(r.s_values);
    o["id"] = std::to_string(r.s_server_id);
    o["main"] = std::to_string(r.main_tab);
    o["oper_id"] = std::to_string(r.oper_code);
    o["oper_ways"] = std::to_string(r.oper_ways);
    o["time"] = std::to_string(r.oper_time);
    return o;
}

// Compact, members in key order (JsonCpp keeps object members sorted), and Chinese
// text as UTF-8 characters rather than \u escapes, which the service does not read.
std::string WriteCompact(const Json::Value& document) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, document) + "\n";
}

}  // namespace

std::string EscapeChangeContent(std::string_view values) {
    // Characters outside GBK are kept: the document travels as UTF-8, so narrowing it
    // to the 8-bit code page would only lose them. Broken UTF-8 is repaired here so the
    // JSON writer always gets valid text.
    const std::string text = WideToUtf8(Utf8ToWide(values));
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (const auto escape = EscapeOf(c)) out += *escape;
        else if (c == '%' && NeedsMark(std::string_view(text).substr(i + 1))) out += "%^";
        else out += c;
    }
    return out;
}

std::string EncodeChangeList(const SyncRecordList& entries) {
    Json::Value document;  // null for an empty list
    if (!entries.empty()) {
        Json::Value opers(Json::arrayValue);
        for (const SyncRecord& r : entries) opers.append(EntryObject(r));
        document["opers"] = std::move(opers);
        document[kEscapingMember] = kEscapingVersion;
    }
    return ReplaceAll(WriteCompact(document), "\\", "%5c");
}

void AttachSentValues(std::span<const SyncRecord> sent, SyncRecordList& results) {
    std::map<std::pair<int, int>, const std::string*> byRow;
    for (const SyncRecord& e : sent) byRow[{e.oper_code, e.s_row_id}] = &e.s_values;
    for (SyncRecord& result : results)
        if (const auto it = byRow.find({result.oper_code, result.s_row_id}); it != byRow.end())
            result.s_values = *it->second;
}

}  // namespace kivtal
