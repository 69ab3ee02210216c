#pragma once
#include <ostream>

namespace kivtal::cli {

// The usage text of --help: commands, options, output and exit codes.
void PrintHelp(std::ostream& out);

}  // namespace kivtal::cli
