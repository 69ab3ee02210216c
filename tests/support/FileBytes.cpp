#include "support/FileBytes.h"

#include <fstream>
#include <sstream>

namespace kivtal::test {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace kivtal::test
