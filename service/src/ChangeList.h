#pragma once
// The change list a client uploads in "opers": compact JSON of change entries whose
// backslashes travel as "%5c" and whose contents carry the client's form escaping.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivtal::service {

struct Change {
    int oper_id = 0;    // record kind, 1..9
    int oper_ways = 0;  // 1 add, 2 modify
    int client_id = 0;  // the sending device's local row id
    int id = 0;         // server id, 0 when the client has none
    int main = 0;
    int time = 0;
    std::string content;  // the value string, unescaped
};

// A document whose member "escaping" is "2" carries contents escaped reversibly; any
// other document comes from a client that escapes the older, lossy way.
inline constexpr const char* kEscapingMember = "escaping";
inline constexpr const char* kReversibleEscaping = "2";

// Reverses the older content escaping: the escaped form characters first, then the
// marks that protected escape-like text already in the value ("%^2B" back to "%2B",
// so a typed "%^2B" arrives as "%2B" too).
std::string UnescapeContent(std::string_view content);

// Reverses the reversible escaping in one pass: "%^" becomes "%" with the character
// after the mark taken as text, an upper-case escape of a form character ("%2F", "%2B",
// "%3F", "%23", "%26", "%3D", "%27") becomes that character, and anything else stays.
std::string UnescapeReversibleContent(std::string_view content);

// The most entries one batch may hold: well above the client's batches (2,000), and
// what bounds the work one request does while it holds the database's write lock.
inline constexpr std::size_t kMaxBatchEntries = 5000;

// The entries of an "opers" value; an empty list for "null". nullopt when the text is
// not a change list a client writes (not JSON, wrong shape, kind or way out of range,
// more than kMaxBatchEntries entries).
// Contents are decoded as the document's "escaping" member says.
std::optional<std::vector<Change>> DecodeChangeList(std::string_view opers);

}  // namespace kivtal::service
