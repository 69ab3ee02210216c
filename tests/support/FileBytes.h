#pragma once
// Whole-file reads for tests that check a file was left exactly as it was.
#include <fstream>
#include <sstream>
#include <string>

namespace kivtal::test {

// The file's bytes; empty when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace kivtal::test
