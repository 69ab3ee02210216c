#include "net/IdentityDisk.h"

#include <fcntl.h>
#include <linux/hdreg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace kivtal {

void SwapWordBytes(unsigned char* field, std::size_t n) {
    for (std::size_t i = 0; i + 1 < n; i += 2) std::swap(field[i], field[i + 1]);
}

void CleanAtaField(unsigned char* field, std::size_t n) {
    SwapWordBytes(field, n);
    std::size_t j = 0;
    while (j < n && field[j] == ' ') ++j;
    if (j > 0) {
        std::memmove(field, field + j, n - j);
        // The text is cut after j characters, not at its moved length; ids issued so
        // far were built that way. A field of nothing but spaces has no room for the
        // cut and ends up empty.
        if (j < n) field[j] = 0;
        std::string text;
        for (std::size_t i = 0; i < n && field[i] != 0; ++i) {
            if (field[i] != ' ') text += static_cast<char>(field[i]);
        }
        std::memcpy(field, text.data(), text.size());
        if (text.size() < n) field[text.size()] = 0;
    }
    for (std::size_t i = n; i > 0 && field[i - 1] == ' '; --i) field[i - 1] = 0;
}

std::string DiskPartFromIdentify(IdentifyBlock block) {
    CleanAtaField(block.data() + kAtaSerialOffset, kAtaSerialLength);
    CleanAtaField(block.data() + kAtaModelOffset, kAtaModelLength);
    CleanAtaField(block.data() + kAtaFirmwareOffset, kAtaFirmwareLength);
    const auto begin = block.begin() + kAtaSerialOffset;
    return std::string(begin, std::find(begin, block.end(), 0));
}

IdentifyBlock IdentifyFromSerial(const std::string& serial) {
    IdentifyBlock block{};
    unsigned char* field = block.data() + kAtaSerialOffset;
    std::memset(field, ' ', kAtaSerialLength);
    std::memcpy(field, serial.data(), std::min(serial.size(), kAtaSerialLength));
    SwapWordBytes(field, kAtaSerialLength);
    return block;
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Whole disks only: partitions, loop devices, RAM disks, device-mapper and optical
// drives do not name the machine.
bool IsPhysicalDiskName(const std::string& name) {
    static const char* const kPrefixes[] = {"sd", "hd", "nvme", "vd", "xvd", "mmcblk"};
    return std::any_of(std::begin(kPrefixes), std::end(kPrefixes),
                       [&](const char* p) { return name.rfind(p, 0) == 0; });
}

std::optional<std::string> FirstDiskName() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/block", ec)) {
        std::string name = entry.path().filename().string();
        if (IsPhysicalDiskName(name)) names.push_back(std::move(name));
    }
    if (names.empty()) return std::nullopt;
    return *std::min_element(names.begin(), names.end());
}

// The kernel hands the text fields out in reading order; they are swapped back so
// that the block is the one the drive itself returns.
std::optional<IdentifyBlock> IdentifyByIoctl(const std::string& device) {
    Fd fd(::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return std::nullopt;
    IdentifyBlock block{};
    if (::ioctl(fd.get(), HDIO_GET_IDENTITY, block.data()) != 0) return std::nullopt;
    SwapWordBytes(block.data() + kAtaSerialOffset, kAtaSerialLength);
    SwapWordBytes(block.data() + kAtaFirmwareOffset, kAtaFirmwareLength);
    SwapWordBytes(block.data() + kAtaModelOffset, kAtaModelLength);
    return block;
}

std::optional<std::string> ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0')) text.pop_back();
    return text;
}

// SCSI inquiry page 0x80: four header bytes, then the serial.
std::optional<std::string> SerialFromVpdPage(const std::string& path) {
    auto page = ReadFileText(path);
    if (!page || page->size() <= 4) return std::nullopt;
    return page->substr(4);
}

std::optional<std::string> SerialFromSysfs(const std::string& name) {
    const std::string base = "/sys/block/" + name;
    for (const std::string& path : {base + "/device/serial", base + "/serial"}) {
        if (auto serial = ReadFileText(path); serial && !serial->empty()) return serial;
    }
    return SerialFromVpdPage(base + "/device/vpd_pg80");
}

}  // namespace

std::string FirstDiskPart() {
    const auto name = FirstDiskName();
    if (!name) return {};
    if (auto block = IdentifyByIoctl("/dev/" + *name)) return DiskPartFromIdentify(*block);
    if (auto serial = SerialFromSysfs(*name)) return DiskPartFromIdentify(IdentifyFromSerial(*serial));
    return {};
}

}  // namespace kivtal
