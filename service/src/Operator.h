#pragma once
// The command line: where the database lives, where to listen, and the operator's
// commands that fill accounts, news, advertisements and the version offer.
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Service.h"

namespace kivtal::service {

struct CommandLine {
    std::string db;  // a SQLite file's path or a postgresql:// address
    std::string host = "127.0.0.1";
    int port = 0;
    std::string command;                         // empty: serve
    std::vector<std::string> args;               // the command's positional arguments
    std::map<std::string, std::string> options;  // "--coins" -> "5"; flags hold "1"
};

// nullopt, with the reason in `error`, for a command line that cannot be run.
std::optional<CommandLine> ParseCommandLine(int argc, const char* const* argv, std::string& error);

std::string Usage();

// The service's options from the command line: --password-rounds N (for tests only) and
// --db-connections N.
ServiceOptions OptionsOf(const CommandLine& cl);

// $XDG_DATA_HOME/kivtal-service/service.db, else under ~/.local/share.
std::filesystem::path DefaultDbPath();

// The folder of files/ and cards/: --data, else the SQLite file's folder, else (on
// PostgreSQL) the default database's folder.
std::filesystem::path DataDir(const CommandLine& cl);

// Runs an operator command; the process exit code.
int RunOperatorCommand(Service& service, const CommandLine& cl, std::ostream& out, std::ostream& err);

}  // namespace kivtal::service
