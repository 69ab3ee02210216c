#include "net/ChangeListCodec.h"

#include <json/json.h>

#include <memory>
#include <utility>

#include "text/TextConv.h"

namespace kivtal {

namespace {

using Replacement = std::pair<std::string_view, std::string_view>;

// Text that already looks like an escape is marked with "^" so the service does not
// decode it. Lower-case forms get the same mark as their upper-case twins. An
// existing "%2F" keeps its own meaning ("%^2F") instead of turning into a "+", and an
// existing "%27" is marked too: "'" itself travels as "%27", so an unmarked "%27"
// typed by the user would arrive as a quote.
constexpr Replacement kProtect[] = {
    {"%2B", "%^2B"}, {"%3F", "%^3F"}, {"%23", "%^23"}, {"%26", "%^26"}, {"%3D", "%^3D"}, {"%27", "%^27"},
    {"%2b", "%^2B"}, {"%3f", "%^3F"}, {"%3d", "%^3D"}, {"%2F", "%^2F"}, {"%2f", "%^2F"},
};

constexpr Replacement kEscape[] = {
    {"/", "%2F"}, {"+", "%2B"}, {"?", "%3F"}, {"#", "%23"}, {"&", "%26"}, {"=", "%3D"}, {"'", "%27"},
};

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

template <std::size_t N>
std::string ApplyPasses(std::string text, const Replacement (&passes)[N]) {
    for (const auto& [from, to] : passes) {
        if (text.find(from) != std::string::npos) text = ReplaceAll(text, from, to);
    }
    return text;
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
    std::string text = WideToUtf8(Utf8ToWide(values));
    return ApplyPasses(ApplyPasses(std::move(text), kProtect), kEscape);
}

std::string EncodeChangeList(const SyncRecordList& entries) {
    Json::Value document;  // null for an empty list
    if (!entries.empty()) {
        Json::Value opers(Json::arrayValue);
        for (const SyncRecord& r : entries) opers.append(EntryObject(r));
        document["opers"] = std::move(opers);
    }
    return ReplaceAll(WriteCompact(document), "\\", "%5c");
}

}  // namespace kivtal
