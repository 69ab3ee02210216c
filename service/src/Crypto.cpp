#include "Crypto.h"

#include <iconv.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace kivtal::service {

namespace {

constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;

std::string Hex(const unsigned char* bytes, std::size_t n) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out(n * 2, '0');
    for (std::size_t i = 0; i < n; ++i) {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 0x0F];
    }
    return out;
}

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// The client digests the GBK bytes of what was typed; text GBK cannot hold keeps its
// UTF-8 bytes, which is the best a digest of it can do.
std::string ToGbk(std::string_view utf8) {
    const iconv_t raw = iconv_open("CP936", "UTF-8");
    if (raw == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
    std::unique_ptr<void, IconvCloser> cd(raw);
    std::string in(utf8);
    std::string out(in.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    std::size_t srcLeft = in.size();
    std::size_t dstLeft = out.size();
    if (iconv(raw, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return std::string(utf8);
    out.resize(out.size() - dstLeft);
    return out;
}

std::string Pbkdf2(std::string_view secret, std::string_view saltHex, int rounds) {
    unsigned char out[kHashBytes];
    if (PKCS5_PBKDF2_HMAC(secret.data(), static_cast<int>(secret.size()),
                          reinterpret_cast<const unsigned char*>(saltHex.data()), static_cast<int>(saltHex.size()),
                          rounds, EVP_sha256(), sizeof out, out) != 1) {
        throw std::runtime_error("password hashing failed");
    }
    return Hex(out, sizeof out);
}

}  // namespace

std::string Md5Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr);
    return Hex(digest, length);
}

std::string RequestKey(std::string_view userId, std::string_view uniqueId, std::string_view randomKey) {
    const std::string u(userId);
    const std::string ud = u + std::string(uniqueId);
    return Md5Hex(Md5Hex(u) + Md5Hex(ud) + Md5Hex(ud + std::string(randomKey)));
}

std::string ClientPasswordDigest(std::string_view typedUtf8) { return Md5Hex(Md5Hex(ToGbk(typedUtf8))); }

std::string RandomHex(std::size_t n) {
    std::vector<unsigned char> bytes(n);
    if (RAND_bytes(bytes.data(), static_cast<int>(n)) != 1) throw std::runtime_error("no random bytes");
    return Hex(bytes.data(), n);
}

// Stored as "pbkdf2-sha256$ROUNDS$SALT$HASH".
std::string HashPassword(std::string_view clientDigest, int rounds) {
    const std::string salt = RandomHex(kSaltBytes);
    return "pbkdf2-sha256$" + std::to_string(rounds) + "$" + salt + "$" + Pbkdf2(clientDigest, salt, rounds);
}

int StoredRounds(std::string_view stored) {
    const std::string_view scheme = "pbkdf2-sha256$";
    if (stored.substr(0, scheme.size()) != scheme) return 0;
    stored.remove_prefix(scheme.size());
    int rounds = 0;
    for (char c : stored.substr(0, stored.find('$'))) {
        if (c < '0' || c > '9' || rounds > 10'000'000) return 0;
        rounds = rounds * 10 + (c - '0');
    }
    return rounds;
}

bool VerifyPassword(std::string_view stored, std::string_view clientDigest) {
    const int rounds = StoredRounds(stored);
    if (rounds <= 0) return false;
    stored.remove_prefix(std::string_view("pbkdf2-sha256$").size());
    const auto d1 = stored.find('$');
    const auto d2 = stored.find('$', d1 == std::string_view::npos ? d1 : d1 + 1);
    if (d1 == std::string_view::npos || d2 == std::string_view::npos) return false;
    const std::string_view salt = stored.substr(d1 + 1, d2 - d1 - 1);
    return SameSecret(Pbkdf2(clientDigest, salt, rounds), stored.substr(d2 + 1));
}

bool SameSecret(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

std::optional<std::string> Base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        const bool fill = c == '=' && i + 2 >= text.size() && (i + 1 == text.size() || text.back() == '=');
        if (!alnum && c != '+' && c != '/' && !fill) return std::nullopt;
    }
    std::string out(text.size() / 4 * 3, '\0');
    const int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    if (n < 0) return std::nullopt;
    // EVP_DecodeBlock counts the fill as zero bytes.
    std::size_t fill = 0;
    while (fill < 2 && fill < text.size() && text[text.size() - 1 - fill] == '=') ++fill;
    out.resize(static_cast<std::size_t>(n) - fill);
    return out;
}

}  // namespace kivtal::service
