#pragma once
// The contact fields a command line can set, checked by the contact editor's field
// rules, and the contact as printed.
#include <vector>

#include <json/json.h>

#include "CliArgs.h"
#include "Output.h"
#include "model/Records.h"
#include "store/ContactStore.h"

namespace kivtal::cli {

// Every option `contacts add` and `contacts edit` take.
inline constexpr std::string_view kContactOptions[] = {
    "name",        "company",  "mobile",          "email",        "qq",      "position", "office-phone", "home-phone",
    "fax",         "web",      "company-address", "home-address", "comment", "group",    "common",       "bank",
    "remove-bank", "birthday", "lunar-birthday"};

// Applies the options to `card`: texts as given (checked by the editor's rules),
// --group (a live group, 0 for none), --common 0/1, --birthday or --lunar-birthday
// (YYYY-MM-DD, a lunar leap month negative; empty removes it), each --bank appended as a new
// account, each --remove-bank marking one of the card's accounts removed. Then the
// name pinyin is computed again. kExitOk, or the printed failure's code.
int ApplyContactOptions(const Args& args, ContactStore& contacts, LocalStore& store, BusinessCard& card);

// Why the contact editor's rule refuses `value` for the option ("mobile", "email" ...),
// or nullopt when it takes it (or the option has no rule).
std::optional<std::string> RefusedContactValue(std::string_view option, const std::string& value);

// Leaves only the accounts that are new or were marked removed by the options, so a
// save does not rewrite (and log again) accounts that did not change.
void KeepChangedAccounts(BusinessCard& card, const std::vector<int>& removedIds);

// The ids the --remove-bank options name (after ApplyContactOptions has checked them).
std::vector<int> RemovedAccountIds(const Args& args);

std::vector<Column> ContactSummaryColumns();
std::vector<Column> ContactDetailColumns();
Json::Value ContactSummary(const BusinessCard& card);
// The same keys from a list read, which has no bank accounts to carry.
Json::Value SummaryJson(const kivtal::ContactSummary& summary);
// The contacts of the query on standard output, as ContactSummaryColumns in either
// form. 0, or 1 when the read failed (the tab-separated form has then printed the
// rows read before the failure).
int PrintSummaries(const OutputOptions& options, ContactStore& contacts, const ContactListQuery& query);
// The summary plus every other field and the live bank accounts.
Json::Value ContactDetail(const BusinessCard& card);

}  // namespace kivtal::cli
