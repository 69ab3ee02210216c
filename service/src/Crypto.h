#pragma once
// Digests, the request key, password storage and Base64, over OpenSSL's libcrypto.
#include <optional>
#include <string>
#include <string_view>

namespace kivtal::service {

// 32 lower-case hex digits of the MD5 of exactly these bytes.
std::string Md5Hex(std::string_view bytes);

// The key a client derives after login: md5(md5(u) + md5(u+d) + md5(u+d+r)).
std::string RequestKey(std::string_view userId, std::string_view uniqueId, std::string_view randomKey);

// What the client sends as "password" for a typed password: the MD5 text of the MD5
// text of the password's bytes in the Chinese 8-bit code page (ASCII is unchanged).
std::string ClientPasswordDigest(std::string_view typedUtf8);

// `n` random bytes as 2n lower-case hex digits.
std::string RandomHex(std::size_t n);

// PBKDF2-SHA256 rounds for passwords stored from now on (current guidance: 600,000).
inline constexpr int kPasswordRounds = 600'000;

// A salted, stretched hash of the client's password digest, self-describing so the
// work factor can be raised later without breaking stored accounts.
std::string HashPassword(std::string_view clientDigest, int rounds = kPasswordRounds);
bool VerifyPassword(std::string_view stored, std::string_view clientDigest);
// The rounds a stored hash was made with; 0 for a hash this service does not make.
int StoredRounds(std::string_view stored);

// Comparison whose time does not depend on where the texts differ.
bool SameSecret(std::string_view a, std::string_view b);

// Standard alphabet with "=" fill; nullopt for anything else (line breaks included).
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace kivtal::service
