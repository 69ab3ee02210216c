#pragma once
// What every command gets: its command line, how to print, and the program's store.
#include <cstddef>
#include <span>
#include <string_view>

#include "CliArgs.h"
#include "Output.h"
#include "store/LocalStore.h"

namespace kivtal::cli {

struct CliContext {
    const Args& args;
    OutputOptions output;
    LocalStore& store;
};

using CommandFn = int (*)(CliContext&);

// A subcommand that works on the last login's user database ("contacts add", ...).
struct Subcommand {
    std::string_view name;
    CommandFn run;
    std::size_t words;                          // command words, group and name included
    std::string_view usage;                     // shown when the words do not fit
    std::span<const std::string_view> options;  // besides the global ones
    bool moreWords = false;                     // words is the least count (a list of files)
};

// Runs the subcommand named by the second command word: checks its words and
// options, selects the last login's user database, then runs it.
int RunSubcommand(CliContext& ctx, std::string_view group, std::span<const Subcommand> subcommands);

// contacts import and contacts export (TransferCommands.cpp).
int RunContactImport(CliContext& ctx);
int RunContactExport(CliContext& ctx);

// contacts trash|restore and matters trash|restore (TrashCommands.cpp).
int RunContactTrash(CliContext& ctx);
int RunContactRestore(CliContext& ctx);
int RunMatterTrash(CliContext& ctx);
int RunMatterRestore(CliContext& ctx);

// contacts duplicates and contacts merge (DuplicateCommands.cpp).
int RunContactDuplicates(CliContext& ctx);
int RunContactMerge(CliContext& ctx);

// The top-level commands.
int RunContacts(CliContext& ctx);
int RunGroups(CliContext& ctx);
int RunMatters(CliContext& ctx);
int RunStatus(CliContext& ctx);
int RunLogin(CliContext& ctx);
int RunSync(CliContext& ctx);
int RunSetAside(CliContext& ctx);
int RunConflicts(CliContext& ctx);
int RunCards(CliContext& ctx);
int RunBirthdays(CliContext& ctx);
int RunCalendar(CliContext& ctx);

}  // namespace kivtal::cli
