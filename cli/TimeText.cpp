#include "TimeText.h"

#include <cstdio>
#include <ctime>

#include "CliArgs.h"
#include "model/WallClock.h"

namespace kivtal::cli {

std::string BeijingText(int seconds) {
    if (seconds == 0) return {};
    const WallClock w = TimeToWallClock(seconds);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", w.year, w.month, w.day, w.hour, w.minute);
    return text;
}

std::string LocalClockText(int seconds) {
    if (seconds == 0) return {};
    const std::time_t t = seconds;
    std::tm local{};
    char text[48];
    if (!localtime_r(&t, &local) || std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local) == 0) return {};
    return text;
}

std::optional<int> ParseBeijingTime(std::string_view text) {
    if (const std::optional<int> seconds = ParseInt(text); seconds && *seconds >= 0) return seconds;
    const std::string s(text);
    WallClock w;
    int used = 0;
    const int n = std::sscanf(s.c_str(), "%4d-%2d-%2d%n %2d:%2d%n:%2d%n", &w.year, &w.month, &w.day, &used, &w.hour,
                              &w.minute, &used, &w.second, &used);
    const bool complete = (n == 3 || n == 5 || n == 6) && static_cast<std::size_t>(used) == s.size();
    if (!complete) return std::nullopt;
    return WallClockToTime(w);
}

}  // namespace kivtal::cli
