#include "Help.h"

namespace kivtal::cli {

namespace {

constexpr const char* kHelp = R"(usage: kivtal-cli COMMAND [options] [--json] [--no-header]

Works on the data folder of the desktop client ($KIVTAL_DATA_DIR, else
$XDG_DATA_HOME/kivtal/user/) and on the account of its last login.

Commands:
  login NAME PASSWORD [--no-auto]   log in online, else offline against the remembered
                                    login; remembers it, with automatic login unless
                                    --no-auto; a first login on this machine also syncs
  sync                              log in with the last login (it must have automatic
                                    login), then synchronise with the service
  status                            account, pending local changes, last sync time,
                                    open conflicts
  conflicts [list] | conflicts adopt ID | conflicts dismiss ID
                                    fields a sync found changed differently here and
                                    on another device: this device kept its value;
                                    adopt takes the other one as an edit that syncs
                                    (deletes the record when the other device deleted
                                    it), dismiss keeps this device's
  set-aside [list] | set-aside retry ID | set-aside discard ID
  set-aside refused | set-aside resend ID | set-aside give-up ID
                                    received changes that could not be stored, set
                                    aside so that later ones arrive; retry stores
                                    one now, discard drops it for good
  contacts list [--group ID] [--by-age] [--desc]
  contacts search TERM              TERM as part of name, phones, e-mail, company or
                                    position; "%" and "_" in TERM are wildcards
  contacts show ID
  contacts add --name NAME [field options]
  contacts edit ID [field options] [--remove-bank BANK_ID]...
  contacts delete ID
  contacts trash | matters trash    records deleted in the last 30 days, the latest
                                    first, with the local time of their deletion
  contacts restore ID... | matters restore ID...
                                    deleted records back, all or none, as edits the
                                    next sync sends
  contacts import FILE... [--dry-run] [--group ID]
                                    read vCard files (- for standard input), each
                                    file in one transaction; duplicates are merged;
                                    prints "added N, merged N, skipped N, failed N"
                                    and each skipped or failed card as FILE:LINE
  contacts export [--group ID] [--vcard 3.0|4.0 | --csv] FILE
                                    vCard 3.0 unless told otherwise; - for standard
                                    output
  contacts duplicates [--exact] [--merge]
                                    groups of contacts that are probably one person
                                    and why; --exact only those equal in every field;
                                    --merge merges each group with the defaults
  contacts merge KEEP_ID OTHER_ID...
                                    merge the others into KEEP_ID with the defaults;
                                    the others go to the trash
  cards read IMAGE... [--add]       read business-card pictures on this computer and
                                    print the fields read with confidence (no login
                                    needed); --add stores each card read as a new
                                    contact of the last login, one transaction a card
  groups list | groups add NAME | groups rename ID NAME | groups delete ID
  matters list [--at TIME] [--group ID]      matters running at TIME (default: now)
  matters add --description TEXT --start TIME --end TIME [--group ID] [--pin]
  matters delete ID
  birthdays [--days N]              contacts' birthdays from today to N days on
                                    (default 30), nearest first
  calendar YYYY-MM                  each day of the month with its festival, solar
                                    term or lunar day; needs no login

Contact field options:
  --name --company --mobile --email --qq --position --office-phone --home-phone
  --fax --web --company-address --home-address --comment TEXT
  --group ID (0 = none)   --common 0|1
  --bank "bank|branch|subbranch|card|holder"   (repeatable; adds an account)
  --birthday YYYY-MM-DD | --lunar-birthday YYYY-MM-DD   (a leap month negative:
  1984--10-01; an empty value removes the birthday)
  Name, mobile, e-mail, QQ and phone numbers are checked as the contact editor does.

TIME is Beijing time: "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or seconds since 1970.

Output: one record per line, fields separated by tabs, under a header line (none
with --no-header); backslash, tab and line breaks in texts are written as \\ \t \n \r.
With --json: one JSON array of objects. Messages go to standard error.
--debug also prints the client's diagnostic lines (requests, replies) on standard
output, mixed with the records.

Exit codes:
  0  success
  1  usage: unknown command or option, missing argument, invalid value
  2  not found: no live record with that id
  3  store or file failure: a database is missing, unreadable or refused the
     write, or an export could not be written
  4  network or service failure; the message carries the code
  5  login: no usable remembered login, or the service refused the login
  6  import: what could be read was stored, but some cards or properties could
     not be read; cards read: some picture had no card on it

Environment: KIVTAL_DATA_DIR, KIVTAL_API_URL, KIVTAL_PROBE_HOSTS, KIVTAL_UNIQUE_ID.
)";

}  // namespace

void PrintHelp(std::ostream& out) { out << kHelp; }

}  // namespace kivtal::cli
