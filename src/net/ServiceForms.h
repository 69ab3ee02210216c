#pragma once
// The requests of the service, byte for byte: paths, form bodies and the web pages
// opened in the browser. Identity values go into the forms exactly as stored.
#include <string>
#include <string_view>

#include "net/LoginUser.h"
#include "net/ServiceConfig.h"

namespace kivtal {

inline constexpr const char* kLoginPath = "/Login/login";
inline constexpr const char* kLogoutPath = "/Login/loginOut";
inline constexpr const char* kVersionCheckPath = "/Update/check";
inline constexpr const char* kSyncReceivePath = "/Sync/receive";
inline constexpr const char* kSyncSendPath = "/Sync/send";
inline constexpr const char* kCardUploadPath = "/Secretary/upload";
inline constexpr const char* kAdsPath = "/PcAd";
inline constexpr const char* kNewsPath = "/Notice";
inline constexpr const char* kServerTimePath = "/Util/dateline";

// This client's version number, sent as cur_ver and compared with offered versions.
inline constexpr int kClientVersion = 3;

// The full address of an endpoint on the API host.
std::string ApiUrl(const ServiceConfig& config, const char* path);

// "username=%s&password=%s&unique_id=%s&visitor=%d". The login name is the one value
// the user types: the characters a form decoder would misread in it are percent-escaped.
std::string LoginForm(const LoginUserState& user);
// "key=%s&visitor=%d&unique_id=%s&cur_ver=%d&user_id=%s"
std::string VersionCheckForm(const LoginUserState& user);
// "key=%s&visitor=%d&unique_id=%s&user_id=%s" (logout and advertisements)
std::string UserForm(const LoginUserState& user);
// "key=%s&visitor=%d&unique_id=%s&last_sync=%d&user_id=%s"
std::string SyncReceiveForm(const LoginUserState& user, int lastSync);
// "key=%s&visitor=%d&unique_id=%s&user_id=%s&opers=%s"; `opers` from EncodeChangeList.
std::string SyncSendForm(const LoginUserState& user, std::string_view opers);
// "key=%s&visitor=%d&unique_id=%s&user_id=%s&bc_data=", the picture's Base64 follows.
std::string CardUploadPrefix(const LoginUserState& user);
// "key=%s&visitor=%d&unique_id=%s&last_news_time=%d&user_id=%s"
std::string NewsForm(const LoginUserState& user, int lastNewsTime);

// Percent-escapes '%', '&', '+', '=', '#', ';', space and control characters.
std::string FormEscape(std::string_view value);

enum class WebPage { Home, Register, Password, Safe, Charge, About };

// The address of a web page of the service's site; the account pages name the
// signed-in user after "/clientid/".
std::string WebPageAddress(const ServiceConfig& config, WebPage page, const std::string& userId);

}  // namespace kivtal
