#include "ExitCodes.h"

#include <iostream>

namespace kivtal::cli {

int Fail(int code, const std::string& message) {
    std::cerr << "kivtal-cli: " << message << '\n';
    return code;
}

}  // namespace kivtal::cli
