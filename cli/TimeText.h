#pragma once
// Times as a user reads and types them: Beijing wall-clock time, whatever the
// computer's zone, as the desktop client shows them.
#include <optional>
#include <string>
#include <string_view>

namespace kivtal::cli {

// "YYYY-MM-DD HH:MM"; empty for 0 (never).
std::string BeijingText(int seconds);

// "YYYY-MM-DD HH:MM:SS +HHMM" in this computer's own zone, for times the client
// itself recorded (the last sync); empty for 0 (never).
std::string LocalClockText(int seconds);

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" in Beijing time, or plain
// seconds since 1970. Empty for anything else, or a date that does not exist.
std::optional<int> ParseBeijingTime(std::string_view text);

}  // namespace kivtal::cli
