#include "net/Identity.h"

#include <openssl/evp.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <vector>

#include "model/Diagnostics.h"
#include "net/IdentityDisk.h"
#include "text/TextConv.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace kivtal {

namespace {

std::string HexOf(const unsigned char* digest, unsigned length) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned i = 0; i < length; ++i) {
        hex += kDigits[digest[i] >> 4];
        hex += kDigits[digest[i] & 0x0F];
    }
    return hex;
}

struct MdCtxFree {
    void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};
using MdCtx = std::unique_ptr<EVP_MD_CTX, MdCtxFree>;

// The GBK bytes of the text; a text iconv cannot handle at all is digested as it is
// rather than failing the login.
std::string GbkBytes(std::string_view utf8) {
    try {
        return Utf8ToAnsi(utf8);
    } catch (...) {
        return std::string(utf8);
    }
}

}  // namespace

std::string Md5HexOfBytes(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) return {};
    return HexOf(digest, length);
}

std::string md5Hex(std::string_view text) { return Md5HexOfBytes(GbkBytes(text)); }

std::string FileMd5Hex(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    MdCtx ctx(EVP_MD_CTX_new());
    if (!in || !ctx || EVP_DigestInit_ex(ctx.get(), EVP_md5(), nullptr) != 1) return {};
    std::vector<char> block(64 * 1024);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got > 0 && EVP_DigestUpdate(ctx.get(), block.data(), got) != 1) return {};
    }
    if (in.bad()) return {};
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    if (EVP_DigestFinal_ex(ctx.get(), digest, &length) != 1) return {};
    return HexOf(digest, length);
}

std::string ComputeKeyText(const std::string& userId, const std::string& uniqueId, const std::string& randomKey) {
    const std::string md5_1 = md5Hex(userId);
    DebugLine("this->user_id\n" + userId);
    const std::string md5_2 = md5Hex(userId + uniqueId);
    DebugLine("this->user_id+unique_id\n" + userId + uniqueId);
    const std::string md5_3 = md5Hex(userId + uniqueId + randomKey);
    DebugLine("this->user_id+unique_id+random_key\n" + userId + uniqueId + randomKey);
    const std::string chain = md5_1 + md5_2 + md5_3;
    DebugLine("md5_4,md5_1+md5_2+md5_3\n" + chain);
    return md5Hex(chain);
}

void computeKey(LoginUser& user) {
    if (user.snapshot().unique_id.empty()) computeUniqueId(user);
    const LoginUserState s = user.snapshot();
    const std::string key = ComputeKeyText(s.user_id, s.unique_id, s.random_key);
    user.update([&](LoginUserState& state) { state.key = key; });
}

std::string ProcessorPart() {
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) return {};
    char text[17];
    std::snprintf(text, sizeof text, "%08X%08X", edx, eax);
    return text;
#else
    return {};
#endif
}

std::string MachineUniqueId() {
    const std::string cpu = ProcessorPart();
    const std::string disk = FirstDiskPart();
    DebugLine("当前的CPUID 是：" + cpu);
    DebugLine("当前硬盘ID是:" + disk);
    // The parts are 8-bit texts; a disk serial that is not valid UTF-8 is repaired
    // so the id can travel in a UTF-8 form.
    return WideToUtf8(Utf8ToWide(cpu + disk));
}

void computeUniqueId(LoginUser& user) {
    const char* forced = std::getenv("KIVTAL_UNIQUE_ID");
    const std::string id = (forced != nullptr && *forced != '\0') ? std::string(forced) : MachineUniqueId();
    user.update([&](LoginUserState& state) { state.unique_id = id; });
}

}  // namespace kivtal
