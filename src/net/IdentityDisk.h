#pragma once
// The disk half of the device id. The service has always seen the serial number as it
// comes out of an ATA IDENTIFY block after a particular clean-up, so every way of
// reading the serial on this platform is turned back into that block first and goes
// through the same clean-up: the same disk keeps the same id.
#include <array>
#include <cstddef>
#include <string>

namespace kivtal {

using IdentifyBlock = std::array<unsigned char, 512>;

inline constexpr std::size_t kAtaSerialOffset = 20;
inline constexpr std::size_t kAtaSerialLength = 20;
inline constexpr std::size_t kAtaFirmwareOffset = 46;
inline constexpr std::size_t kAtaFirmwareLength = 8;
inline constexpr std::size_t kAtaModelOffset = 54;
inline constexpr std::size_t kAtaModelLength = 40;

// Cleans an ATA text field of n bytes in place: un-swaps the bytes of each word,
// drops leading spaces (keeping only as many characters as there were spaces, which
// is what the ids already issued were built with), and zeroes trailing spaces.
void CleanAtaField(unsigned char* field, std::size_t n);

// Cleans the serial, model and firmware fields of a raw IDENTIFY block and returns
// the text from the serial's offset up to the first zero byte.
std::string DiskPartFromIdentify(IdentifyBlock block);

// Swaps the bytes of each 16-bit word: raw ATA order <-> reading order.
void SwapWordBytes(unsigned char* field, std::size_t n);

// An IDENTIFY block holding only a serial given in reading order (sysfs, NVMe): the
// serial is put back into the swapped ATA word order, padded with spaces to 20 bytes.
IdentifyBlock IdentifyFromSerial(const std::string& serial);

// The first disk's part of the device id, or "" when no disk can be read.
std::string FirstDiskPart();

}  // namespace kivtal
