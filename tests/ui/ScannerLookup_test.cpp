// The scanner is found by its USB ids among the video4linux devices of a sysfs tree;
// every other camera is ignored. Fake trees stand in for /sys.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TempDir.h"
#include "ui/dialogs/capture/CameraFrameSource.h"
#include "ui/dialogs/capture/CameraModuleLoader.h"
#include "ui/dialogs/capture/ScannerLookup.h"

namespace kivtal {
namespace {

namespace fs = std::filesystem;

struct Camera {
    const char* node;     // "video2"
    const char* usbPort;  // one USB device may carry several nodes
    const char* vendor;
    const char* product;
};

// Lays the tree out as the kernel does: the class entry links to the node inside the
// USB interface, whose parent (the USB device) holds the ids.
void MakeTree(const std::string& root, const std::vector<Camera>& cameras) {
    fs::create_directories(root + "class/video4linux");
    for (const Camera& c : cameras) {
        const fs::path device = fs::path(root) / "devices/pci0000:00/usb1" / c.usbPort;
        const fs::path interface = device / (std::string(c.usbPort) + ":1.0");
        fs::create_directories(interface / "video4linux" / c.node);
        std::ofstream(device / "idVendor") << c.vendor << "\n";
        std::ofstream(device / "idProduct") << c.product << "\n";
        fs::create_symlink(interface, interface / "video4linux" / c.node / "device");
        fs::create_directory_symlink(interface / "video4linux" / c.node, fs::path(root) / "class/video4linux" / c.node);
    }
}

TEST(ScannerLookup, FindsTheScannerNodesAmongTheCameras) {
    const Camera webcam{"video0", "1-1", "046d", "0825"};
    const Camera scanner{"video2", "1-2", "1e4e", "0110"};
    const Camera scannerMeta{"video3", "1-2", "1e4e", "0110"};
    const Camera otherScanner{"video10", "1-3", "1E4E", "0110"};  // upper-case ids still match
    const Camera sameVendor{"video4", "1-4", "1e4e", "0111"};
    struct Case {
        const char* name;
        std::vector<Camera> cameras;
        std::vector<std::string> nodes;
    };
    const std::vector<Case> cases = {
        {"no video devices", {}, {}},
        {"only a webcam", {webcam}, {}},
        {"same vendor, other product", {sameVendor}, {}},
        {"webcam and scanner", {webcam, scanner}, {"video2"}},
        {"one scanner with two nodes", {scannerMeta, scanner, webcam}, {"video2", "video3"}},
        {"two scanners in node order", {otherScanner, scanner}, {"video2", "video10"}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        MakeTree(dir.path(), c.cameras);
        EXPECT_EQ(FindScannerNodes(dir.path()), c.nodes) << c.name;
    }
}

TEST(ScannerLookup, MissingTreeFindsNothing) { EXPECT_TRUE(FindScannerNodes("/nonexistent/sys").empty()); }

TEST(ScannerLookup, ChoosesTheFirstCameraThatIsAScannerNode) {
    const std::vector<std::string> ids = {"/dev/video0", "/dev/video3", "/dev/video2"};
    EXPECT_EQ(ChooseScanner(ids, {"video2"}), 2);
    EXPECT_EQ(ChooseScanner(ids, {"video2", "video3"}), 1);  // the framework's order decides
    EXPECT_EQ(ChooseScanner(ids, {"video7"}), -1);
    EXPECT_EQ(ChooseScanner({}, {"video2"}), -1);
    EXPECT_EQ(ChooseScanner({"/dev/video1"}, {"video10"}), -1);  // no prefix match
}

bool CameraModuleLoaded() {
    std::stringstream maps;
    maps << std::ifstream("/proc/self/maps").rdbuf();
    return maps.str().find("libkivtal_camera") != std::string::npos;
}

// The camera lives in a module of its own: without a scanner in the tree it is never
// loaded; with one it is, and looks for the scanner among the video inputs (none here).
TEST(ScannerLookup, TheCameraModuleIsLoadedOnlyForAnAttachedScanner) {
    test::TempDir none, attached;
    MakeTree(none.path(), {{"video0", "1-1", "046d", "0825"}});
    MakeTree(attached.path(), {{"video2", "1-2", "1e4e", "0110"}});
    ASSERT_FALSE(CameraModuleLoaded());
    EXPECT_EQ(CameraFrameSource(none.path()).Open(), FrameSource::OpenResult::kNoScanner);
    EXPECT_FALSE(CameraModuleLoaded());
    EXPECT_EQ(CameraFrameSource(attached.path()).Open(), FrameSource::OpenResult::kNoScanner);
    EXPECT_TRUE(CameraModuleLoaded());
    EXPECT_NE(MakeShutterSound(QUrl(QStringLiteral("qrc:/skin/sound/CAMERA.WAV"))), nullptr);
}

}  // namespace
}  // namespace kivtal
