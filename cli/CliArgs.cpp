#include "CliArgs.h"

#include <algorithm>
#include <charconv>

#include "ExitCodes.h"

namespace kivtal::cli {

namespace {

// Options that take no value; every other option takes exactly one.
constexpr std::string_view kFlags[] = {"json", "no-header", "help", "debug", "no-auto", "by-age", "desc",
                                       "pin",  "dry-run",   "csv",  "add",   "exact",   "merge"};
constexpr std::string_view kGlobal[] = {"json", "no-header", "help", "debug"};

bool IsFlag(std::string_view name) { return std::find(std::begin(kFlags), std::end(kFlags), name) != std::end(kFlags); }

bool IsGlobal(std::string_view name) {
    return std::find(std::begin(kGlobal), std::end(kGlobal), name) != std::end(kGlobal);
}

}  // namespace

bool Args::has(std::string_view name) const {
    return std::any_of(options.begin(), options.end(), [&](const auto& o) { return o.first == name; });
}

std::optional<std::string> Args::value(std::string_view name) const {
    std::optional<std::string> last;
    for (const auto& [key, v] : options)
        if (key == name) last = v;
    return last;
}

std::vector<std::string> Args::values(std::string_view name) const {
    std::vector<std::string> all;
    for (const auto& [key, v] : options)
        if (key == name) all.push_back(v);
    return all;
}

std::string Args::word(std::size_t index) const { return index < words.size() ? words[index] : std::string(); }

std::optional<Args> ParseArgs(const std::vector<std::string>& argv, std::string& error) {
    Args args;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        if (optionsEnded || a.size() < 3 || a.compare(0, 2, "--") != 0) {
            if (a == "--" && !optionsEnded) {
                optionsEnded = true;
            } else {
                args.words.push_back(a);
            }
            continue;
        }
        const std::size_t eq = a.find('=');
        std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
        if (eq != std::string::npos) {
            args.options.emplace_back(std::move(name), a.substr(eq + 1));
        } else if (IsFlag(name)) {
            args.options.emplace_back(std::move(name), "");
        } else if (i + 1 < argv.size()) {
            args.options.emplace_back(std::move(name), argv[++i]);
        } else {
            error = "option --" + name + " needs a value";
            return std::nullopt;
        }
    }
    return args;
}

int CheckOptions(const Args& args, std::span<const std::string_view> allowed) {
    for (const auto& [name, v] : args.options) {
        const bool ok = IsGlobal(name) || std::find(allowed.begin(), allowed.end(), name) != allowed.end();
        if (!ok) return Fail(kExitUsage, "unknown option --" + name + " for this command (see kivtal-cli --help)");
    }
    return kExitOk;
}

int CheckWordCount(const Args& args, std::size_t count, std::string_view usage) {
    if (args.words.size() == count) return kExitOk;
    return Fail(kExitUsage, "usage: kivtal-cli " + std::string(usage));
}

std::optional<int> ParseInt(std::string_view text) {
    int v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return v;
}

std::optional<int> ParseId(std::string_view text) {
    const std::optional<int> v = ParseInt(text);
    if (!v || *v < 1) return std::nullopt;
    return v;
}

}  // namespace kivtal::cli
