// kivtal-cli: the desktop client's data and service from the command line.
#include <algorithm>
#include <exception>
#include <iostream>

#include "CliContext.h"
#include "ExitCodes.h"
#include "Help.h"
#include "UserSession.h"
#include "model/Diagnostics.h"

namespace kivtal::cli {

namespace {

struct Command {
    std::string_view name;
    CommandFn run;
};

constexpr Command kCommands[] = {
    {"login", RunLogin},   {"sync", RunSync},           {"status", RunStatus},      {"contacts", RunContacts},
    {"groups", RunGroups}, {"matters", RunMatters},     {"set-aside", RunSetAside}, {"conflicts", RunConflicts},
    {"cards", RunCards},   {"birthdays", RunBirthdays}, {"calendar", RunCalendar},
};

int Run(const std::vector<std::string>& argv) {
    std::string error;
    const std::optional<Args> args = ParseArgs(argv, error);
    if (!args) return Fail(kExitUsage, error);
    if (args->has("debug")) SetDiagnosticsEnabled(true);
    if (args->has("help")) {
        PrintHelp(std::cout);
        return kExitOk;
    }
    const std::string name = args->word(0);
    if (name.empty()) {
        PrintHelp(std::cerr);
        return kExitUsage;
    }
    const auto* command =
        std::find_if(std::begin(kCommands), std::end(kCommands), [&](const Command& c) { return c.name == name; });
    if (command == std::end(kCommands))
        return Fail(kExitUsage, "unknown command '" + name + "' (see kivtal-cli --help)");
    CliContext ctx{*args, OutputOptions::From(*args), LocalStore::Instance()};
    return command->run(ctx);
}

}  // namespace

int RunSubcommand(CliContext& ctx, std::string_view group, std::span<const Subcommand> subcommands) {
    const std::string name = ctx.args.word(1);
    const auto sub =
        std::find_if(subcommands.begin(), subcommands.end(), [&](const Subcommand& s) { return s.name == name; });
    if (sub == subcommands.end())
        return Fail(kExitUsage, "unknown " + std::string(group) + " command '" + name + "' (see kivtal-cli --help)");
    if (const int c = CheckOptions(ctx.args, sub->options); c != kExitOk) return c;
    const bool enoughWords = sub->moreWords && ctx.args.words.size() >= sub->words;
    if (!enoughWords)
        if (const int c = CheckWordCount(ctx.args, sub->words, sub->usage); c != kExitOk) return c;
    LoginRecord login;
    if (const int c = SelectLastUser(ctx.store, login); c != kExitOk) return c;
    return sub->run(ctx);
}

}  // namespace kivtal::cli

int main(int argc, char** argv) {
    try {
        return kivtal::cli::Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        return kivtal::cli::Fail(kivtal::cli::kExitStore, std::string("unexpected failure: ") + e.what());
    }
}
