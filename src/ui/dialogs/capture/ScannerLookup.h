#pragma once
// Finding the card scanner among the video inputs: the scanner is the video4linux
// device whose USB vendor and product ids are 1e4e:0110. Every other camera is ignored.
#include <string>
#include <vector>

namespace kivtal {

inline constexpr const char* kScannerVendorId = "1e4e";
inline constexpr const char* kScannerProductId = "0110";

// The scanner's video nodes ("video2"), in node-number order, read from the sysfs tree
// under sysfsRoot (a test passes a fake tree). Empty when no scanner is attached.
std::vector<std::string> FindScannerNodes(const std::string& sysfsRoot = "/sys");

// The position in cameraIds (the capture framework's device ids, such as "/dev/video2")
// of the first camera that is one of the scanner's nodes; -1 when none is.
int ChooseScanner(const std::vector<std::string>& cameraIds, const std::vector<std::string>& scannerNodes);

}  // namespace kivtal
