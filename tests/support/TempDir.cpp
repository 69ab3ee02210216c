#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>

namespace kivtal::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kivtal-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    path_ += '/';
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace kivtal::test
