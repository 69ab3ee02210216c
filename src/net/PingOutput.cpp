#include "net/PingOutput.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "text/TextConv.h"

namespace kivtal {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
}

// One "%d" the way scanf reads it: blanks, an optional sign, at least one digit.
// Values beyond int clamp instead of overflowing.
bool ScanInt(std::string_view& text, int& value) {
    SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !IsDigit(text.front())) return false;
    long long v = 0;
    while (!text.empty() && IsDigit(text.front())) {
        if (v <= INT_MAX) v = v * 10 + (text.front() - '0');
        text.remove_prefix(1);
    }
    v = negative ? -v : v;
    value = static_cast<int>(v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : v));
    return true;
}

// Matches `text` against a pattern of literal bytes and "%d" slots with scanf's rules
// (a blank in the pattern takes any run of blanks, none included). Returns how many
// numbers were read before the first mismatch.
int ScanPattern(std::string_view text, std::string_view pattern, int* values, int capacity) {
    int count = 0;
    while (!pattern.empty()) {
        if (pattern.substr(0, 2) == "%d") {
            if (count == capacity || !ScanInt(text, values[count])) return count;
            ++count;
            pattern.remove_prefix(2);
        } else if (IsBlank(pattern.front())) {
            SkipBlanks(text);
            pattern.remove_prefix(1);
        } else {
            if (text.empty() || text.front() != pattern.front()) return count;
            text.remove_prefix(1);
            pattern.remove_prefix(1);
        }
    }
    return count;
}

struct ChineseMarkers {
    std::string timeout, minimum, pattern;
};

// Converted once: the Windows Chinese output arrives in GBK.
const ChineseMarkers& Chinese() {
    static const ChineseMarkers markers{Utf8ToAnsi("请求超时"), Utf8ToAnsi("最短"),
                                        Utf8ToAnsi("最短 = %dms，最长 = %dms，平均 = %dms")};
    return markers;
}

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// "0 received" must not match inside "10 received".
bool NothingReceived(std::string_view text) {
    for (std::size_t at = text.find("0 received"); at != std::string_view::npos; at = text.find("0 received", at + 1)) {
        if (at == 0 || !IsDigit(text[at - 1])) return true;
    }
    return false;
}

bool TimedOut(std::string_view text) {
    return Contains(text, Chinese().timeout) || Contains(text, "Request timed out") || NothingReceived(text) ||
           Contains(text, "100% packet loss");
}

PingReading ReadWindowsLine(std::string_view from, std::string_view pattern, int& averageMs) {
    int values[3];
    if (ScanPattern(from, pattern, values, 3) != 3) return PingReading::kBadStatistics;
    averageMs = values[2];
    return PingReading::kAverage;
}

// "rtt min/avg/max/mdev = 0.045/0.052/0.060/0.007 ms": the second figure, rounded.
PingReading ReadIputilsLine(std::string_view from, int& averageMs) {
    const std::size_t equals = from.find('=');
    if (equals == std::string_view::npos) return PingReading::kBadStatistics;
    std::string_view rest = from.substr(equals + 1);
    SkipBlanks(rest);
    double minimum = 0, average = 0;
    auto first = std::from_chars(rest.data(), rest.data() + rest.size(), minimum);
    if (first.ec != std::errc() || first.ptr == rest.data() + rest.size() || *first.ptr != '/')
        return PingReading::kBadStatistics;
    auto second = std::from_chars(first.ptr + 1, rest.data() + rest.size(), average);
    if (second.ec != std::errc() || !(average >= 0)) return PingReading::kBadStatistics;
    averageMs = average >= INT_MAX ? INT_MAX : static_cast<int>(std::lround(average));
    return PingReading::kAverage;
}

}  // namespace

PingReading ReadPingOutput(std::string_view gbkOutput, int& averageMs) {
    if (TimedOut(gbkOutput)) return PingReading::kTimedOut;
    std::size_t at = gbkOutput.find(Chinese().minimum);
    if (at != std::string_view::npos) return ReadWindowsLine(gbkOutput.substr(at), Chinese().pattern, averageMs);
    at = gbkOutput.find("Minimum");
    if (at != std::string_view::npos)
        return ReadWindowsLine(gbkOutput.substr(at), "Minimum = %dms, Maximum = %dms, Average = %dms", averageMs);
    at = gbkOutput.find("min/avg/max");
    if (at != std::string_view::npos) return ReadIputilsLine(gbkOutput.substr(at), averageMs);
    return PingReading::kNoStatistics;
}

}  // namespace kivtal
