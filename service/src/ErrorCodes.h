#pragma once
// The "error" values the service answers with. The client treats 1001 and 1003 at
// login as a refused account; every other code is reported as a failure as it is.
namespace kivtal::service::code {

inline constexpr const char* kOk = "0";
inline constexpr const char* kUnknownAccount = "1001";
inline constexpr const char* kBadKey = "1002";  // key, device or user_id do not match a login
inline constexpr const char* kWrongPassword = "1003";
inline constexpr const char* kBadRequest = "1004";     // a field or the change list is malformed
inline constexpr const char* kServerFault = "1005";    // the service's own storage failed
inline constexpr const char* kTooManyLogins = "1006";  // failed logins of the name or address: wait
inline constexpr const char* kNoCoins = "2004";
inline constexpr const char* kCertifiedName = "2007";
inline constexpr const char* kSensitiveWord = "2008";
inline constexpr const char* kPictureTooLarge = "2009";  // a card picture over kMaxCardPicture
inline constexpr const char* kUploadQuota = "2010";      // the account has stored all the pictures it may

}  // namespace kivtal::service::code
