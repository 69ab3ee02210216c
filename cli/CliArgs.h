#pragma once
// The command line split into command words and options. Options may stand anywhere
// after the program name, as "--name value" or "--name=value"; a few are flags without
// a value; "--" ends the options, so that a word may begin with a dash.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kivtal::cli {

struct Args {
    std::vector<std::string> words;
    std::vector<std::pair<std::string, std::string>> options;  // in the order given; flags hold ""

    bool has(std::string_view name) const;
    // The last value given for the option.
    std::optional<std::string> value(std::string_view name) const;
    // Every value given for the option, in order (repeatable options).
    std::vector<std::string> values(std::string_view name) const;
    // The command word at `index`, or empty.
    std::string word(std::size_t index) const;
};

// Empty, with `error` set, when an option that needs a value has none.
std::optional<Args> ParseArgs(const std::vector<std::string>& argv, std::string& error);

// kExitOk, or a usage failure naming the first option the command does not take.
// --json, --no-header and --help are accepted everywhere.
int CheckOptions(const Args& args, std::span<const std::string_view> allowed);

// kExitOk, or a usage failure (showing `usage`) unless there are exactly `count` words.
int CheckWordCount(const Args& args, std::size_t count, std::string_view usage);

// A decimal id or number in the int range, nothing else around it.
std::optional<int> ParseInt(std::string_view text);
// As ParseInt, but only ids from 1 up.
std::optional<int> ParseId(std::string_view text);

}  // namespace kivtal::cli
