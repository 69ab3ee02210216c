#pragma once
// Reads the text the system's ping command printed. Understands the statistics lines
// of the Windows ping (English and Chinese) and of iputils; the Chinese markers are
// GBK bytes, the console code page those systems print in.
#include <string_view>

namespace kivtal {

enum class PingReading {
    kAverage,        // a statistics line was read; the average is set
    kTimedOut,       // the host did not answer
    kNoStatistics,   // no line this parser knows (unknown host, foreign output)
    kBadStatistics,  // a statistics line whose numbers could not be read
};

// `gbkOutput` is the ping output in GBK (plain ASCII passes unchanged). Sets
// `averageMs` only for kAverage.
PingReading ReadPingOutput(std::string_view gbkOutput, int& averageMs);

}  // namespace kivtal
