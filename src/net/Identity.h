#pragma once
// Who is asking: the request key that proves the login and the device id that names
// this machine to the service.
#include <string>
#include <string_view>

#include "net/LoginUser.h"

namespace kivtal {

// 32 lower-case hex digits of the MD5 of the text's GBK bytes (UTF-8 input).
std::string md5Hex(std::string_view text);
// The same digest format over raw bytes.
std::string Md5HexOfBytes(std::string_view bytes);
// The MD5 of a whole file as 32 lower-case hex digits; empty when it cannot be read.
std::string FileMd5Hex(const std::string& path);

// The request key for one login: MD5 chain over user id, device id and the random
// value of the login reply.
std::string ComputeKeyText(const std::string& userId, const std::string& uniqueId, const std::string& randomKey);

// Fills `key` from the stored user id, device id and random value; derives the
// device id first when it is still empty.
void computeKey(LoginUser& user);
// Fills `unique_id`: $KIVTAL_UNIQUE_ID when set (lets two data folders on one
// machine act as two devices), else processor signature + first disk's serial.
void computeUniqueId(LoginUser& user);

// The device id of this machine, without the override.
std::string MachineUniqueId();
// CPUID leaf 1 as "%08X%08X" (EDX, EAX); empty without CPUID.
std::string ProcessorPart();

}  // namespace kivtal
