#pragma once
// Exit codes that scripts rely on. They are documented in README.md and in --help;
// never renumber them, only add new ones.
#include <string>

namespace kivtal::cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1,       // unknown command or option, missing argument, invalid value
    kExitNotFound = 2,    // no live record with that id
    kExitStore = 3,       // a database is missing, unreadable or refused the write; an export file too
    kExitService = 4,     // no network, no reply or an error code from the service
    kExitLogin = 5,       // no usable remembered login, or the login was refused
    kExitIncomplete = 6,  // an import stored what it could, but some cards or properties could not be read
};

// Prints "kivtal-cli: <message>" on standard error and returns `code`, so a command
// can end with `return Fail(...)`.
int Fail(int code, const std::string& message);

}  // namespace kivtal::cli
