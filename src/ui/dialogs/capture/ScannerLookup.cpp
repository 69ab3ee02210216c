#include "ui/dialogs/capture/ScannerLookup.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace kivtal {
namespace {

namespace fs = std::filesystem;

std::string ReadId(const fs::path& file) {
    std::ifstream in(file);
    std::string id;
    in >> id;
    std::transform(id.begin(), id.end(), id.begin(), [](unsigned char c) { return std::tolower(c); });
    return id;
}

// A video node's device link points at a USB interface; the ids live in the USB device
// above it, so walk up until a folder has them (or the tree ends).
bool IsScanner(const fs::path& node, const fs::path& root) {
    std::error_code ec;
    fs::path dir = fs::canonical(node / "device", ec);
    if (ec) return false;
    const fs::path top = fs::canonical(root, ec);
    for (; !dir.empty() && dir != top && dir != dir.root_path(); dir = dir.parent_path()) {
        if (!fs::exists(dir / "idVendor", ec)) continue;
        return ReadId(dir / "idVendor") == kScannerVendorId && ReadId(dir / "idProduct") == kScannerProductId;
    }
    return false;
}

// "video12" -> 12, so that video10 sorts after video2.
long NodeNumber(const std::string& name) {
    const auto digits = name.find_first_of("0123456789");
    return digits == std::string::npos ? -1 : std::strtol(name.c_str() + digits, nullptr, 10);
}

std::string BaseName(const std::string& id) {
    const auto slash = id.find_last_of('/');
    return slash == std::string::npos ? id : id.substr(slash + 1);
}

}  // namespace

std::vector<std::string> FindScannerNodes(const std::string& sysfsRoot) {
    const fs::path root(sysfsRoot);
    std::vector<std::string> nodes;
    std::error_code ec;
    for (fs::directory_iterator it(root / "class" / "video4linux", ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("video", 0) == 0 && IsScanner(it->path(), root)) nodes.push_back(name);
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const std::string& a, const std::string& b) { return NodeNumber(a) < NodeNumber(b); });
    return nodes;
}

int ChooseScanner(const std::vector<std::string>& cameraIds, const std::vector<std::string>& scannerNodes) {
    for (std::size_t i = 0; i < cameraIds.size(); ++i) {
        const std::string name = BaseName(cameraIds[i]);
        if (std::find(scannerNodes.begin(), scannerNodes.end(), name) != scannerNodes.end()) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace kivtal
