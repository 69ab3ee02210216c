#pragma once
// Whole-file reads for tests that check a file was left exactly as it was.
#include <string>

namespace kivtal::test {

// The file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path);

}  // namespace kivtal::test
