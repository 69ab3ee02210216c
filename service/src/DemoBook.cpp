#include "DemoBook.h"

#include <json/json.h>

#include <cstdio>
#include <memory>

#include "RecordFields.h"
#include "ValueLayout.h"

namespace kivtal::service {

namespace {

constexpr std::int64_t kBeijingOffset = 8 * 3600;
constexpr std::int64_t kDay = 24 * 3600;

// Sections in the order their records are stored: a parent always before its children.
struct Section {
    const char* name;
    int kind;
};
constexpr Section kSections[] = {
    {"contact_groups", kContactGroup},
    {"matter_groups", kMatterGroup},
    {"contacts", kContact},
    {"bank_accounts", kBankAccount},
    {"matters", kMatter},
    {"remarks", kRemark},
    {"reminders", kReminder},
};

std::optional<std::string> FieldText(const Json::Value& v, std::time_t now) {
    if (v.isIntegral()) return std::to_string(v.asInt64());
    if (!v.isString()) return std::nullopt;
    if (const auto time = RelativeBeijingTime(v.asString(), now)) return std::to_string(*time);
    return v.asString();
}

// The record's value string; its local id (the first field) is the change's client id.
std::optional<Change> RecordChange(int kind, const Json::Value& record, std::time_t now, std::string& error) {
    const auto specs = FieldsOf(kind);
    std::vector<std::string> fields;
    for (const FieldSpec& f : specs) fields.emplace_back(f.fallback);
    for (const std::string& name : record.getMemberNames()) {
        std::size_t i = 0;
        while (i < specs.size() && specs[i].name != name) ++i;
        const auto text = i < specs.size() ? FieldText(record[name], now) : std::nullopt;
        if (!text) {
            error = "field " + name + " is unknown or not a number or text";
            return std::nullopt;
        }
        fields[i] = *text;
    }
    Change c;
    c.oper_id = kind;
    c.oper_ways = 1;
    c.client_id = FieldInt(fields, 0);
    c.main = 1;
    c.content = JoinFields(fields);
    return c;
}

std::int64_t CreateTime(const Json::Value& item, std::time_t now) {
    const Json::Value& t = item["create_time"];
    if (t.isString()) return RelativeBeijingTime(t.asString(), now).value_or(now);
    return t.isIntegral() ? t.asInt64() : now;
}

}  // namespace

std::optional<std::int64_t> RelativeBeijingTime(std::string_view text, std::time_t now) {
    int days = 0, hours = 0, minutes = 0, used = 0;
    const std::string s(text);
    if (std::sscanf(s.c_str(), "%d %d:%d%n", &days, &hours, &minutes, &used) != 3 ||
        used != static_cast<int>(s.size()) || hours < 0 || hours > 23 || minutes < 0 || minutes > 59) {
        return std::nullopt;
    }
    const std::int64_t local = static_cast<std::int64_t>(now) + kBeijingOffset;
    const std::int64_t midnight = local - local % kDay - kBeijingOffset;
    return midnight + days * kDay + hours * 3600 + minutes * 60;
}

std::optional<Book> ReadBook(std::string_view json, std::time_t now, std::string& error) {
    Json::Value root;
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(json.data(), json.data() + json.size(), &root, &error) || !root.isObject()) {
        if (error.empty()) error = "the book is not a JSON object";
        return std::nullopt;
    }
    Book book;
    for (const Section& s : kSections) {
        for (const Json::Value& record : root[s.name]) {
            auto change = record.isObject() ? RecordChange(s.kind, record, now, error) : std::nullopt;
            if (!change) {
                error = std::string(s.name) + ": " + (error.empty() ? "a record is not an object" : error);
                return std::nullopt;
            }
            book.changes.push_back(std::move(*change));
        }
    }
    for (const Json::Value& n : root["news"]) {
        book.news.push_back({0, n["title"].asString(), n["content"].asString(), CreateTime(n, now), n["type"].asInt()});
    }
    for (const Json::Value& a : root["ads"]) {
        book.ads.push_back(
            {0, a["picture"].asString(), a["sort"].asInt(), a["jump_url"].asString(), a["content"].asString()});
    }
    return book;
}

}  // namespace kivtal::service
