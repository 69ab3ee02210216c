#include "ChangeList.h"

#include <json/json.h>

#include <charconv>
#include <memory>
#include <utility>

namespace kivtal::service {

namespace {

using Replacement = std::pair<std::string_view, std::string_view>;

// Older clients escape in the opposite order: protect, then escape.
constexpr Replacement kUnescape[] = {
    {"%27", "'"}, {"%3D", "="}, {"%26", "&"}, {"%23", "#"}, {"%3F", "?"}, {"%2B", "+"}, {"%2F", "/"},
};
constexpr Replacement kUnprotect[] = {
    {"%^27", "%27"}, {"%^3D", "%3D"}, {"%^26", "%26"}, {"%^23", "%23"},
    {"%^3F", "%3F"}, {"%^2B", "%2B"}, {"%^2F", "%2F"},
};

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    if (text.find(from) == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (auto hit = text.find(from); hit != std::string::npos; hit = text.find(from, start)) {
        out.append(text, start, hit - start);
        out.append(to);
        start = hit + from.size();
    }
    out.append(text, start);
    return out;
}

// The escapes a client writes for the form characters (always upper case).
constexpr std::pair<std::string_view, char> kEscapes[] = {
    {"2F", '/'}, {"2B", '+'}, {"3F", '?'}, {"23", '#'}, {"26", '&'}, {"3D", '='}, {"27", '\''},
};

std::optional<char> EscapedChar(std::string_view code) {
    for (const auto& [escape, plain] : kEscapes)
        if (escape == code) return plain;
    return std::nullopt;
}

template <std::size_t N>
std::string ApplyAll(std::string text, const Replacement (&passes)[N]) {
    for (const auto& [from, to] : passes) text = ReplaceAll(std::move(text), from, to);
    return text;
}

// Members are decimal text; a number is tolerated, anything else is not a client's list.
std::optional<int> IntMember(const Json::Value& entry, const char* name) {
    const Json::Value& v = entry[name];
    if (v.isInt()) return v.asInt();
    if (!v.isString()) return std::nullopt;
    const std::string s = v.asString();
    int out = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return out;
}

std::optional<Change> DecodeEntry(const Json::Value& e, bool reversible) {
    if (!e.isObject() || !e["content"].isString()) return std::nullopt;
    Change c;
    const std::pair<const char*, int*> ints[] = {{"oper_id", &c.oper_id},     {"oper_ways", &c.oper_ways},
                                                 {"client_id", &c.client_id}, {"id", &c.id},
                                                 {"main", &c.main},           {"time", &c.time}};
    for (const auto& [name, target] : ints) {
        const auto v = IntMember(e, name);
        if (!v) return std::nullopt;
        *target = *v;
    }
    if (c.oper_id < 1 || c.oper_id > 9 || c.oper_ways < 1 || c.oper_ways > 2) return std::nullopt;
    const std::string content = e["content"].asString();
    c.content = reversible ? UnescapeReversibleContent(content) : UnescapeContent(content);
    return c;
}

}  // namespace

std::string UnescapeContent(std::string_view content) {
    return ApplyAll(ApplyAll(std::string(content), kUnescape), kUnprotect);
}

std::string UnescapeReversibleContent(std::string_view content) {
    std::string out;
    out.reserve(content.size());
    for (std::size_t i = 0; i < content.size(); ++i) {
        out += content[i];
        if (content[i] != '%') continue;
        const std::string_view after = content.substr(i + 1);
        if (!after.empty() && after.front() == '^') {
            ++i;  // the mark; what follows is text
        } else if (const auto plain = EscapedChar(after.substr(0, 2)); plain && after.size() >= 2) {
            out.back() = *plain;
            i += 2;
        }
    }
    return out;
}

std::optional<std::vector<Change>> DecodeChangeList(std::string_view opers) {
    const std::string json = ReplaceAll(std::string(opers), "%5c", "\\");
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        if (!reader->parse(json.data(), json.data() + json.size(), &root, &errors)) return std::nullopt;
    } catch (const Json::Exception&) {
        return std::nullopt;  // nested deeper than the reader follows
    }
    std::vector<Change> changes;
    if (root.isNull()) return changes;
    if (!root.isObject() || !root["opers"].isArray() || root["opers"].size() > kMaxBatchEntries) return std::nullopt;
    const bool reversible = root[kEscapingMember] == kReversibleEscaping;
    for (const Json::Value& e : root["opers"]) {
        auto c = DecodeEntry(e, reversible);
        if (!c) return std::nullopt;
        changes.push_back(std::move(*c));
    }
    return changes;
}

}  // namespace kivtal::service
