#include "net/ServiceForms.h"

#include <cstdio>

namespace kivtal {

namespace {

std::string IdentityPrefix(const LoginUserState& u) {
    return "key=" + u.key + "&visitor=" + std::to_string(u.visitor) + "&unique_id=" + u.unique_id;
}

}  // namespace

std::string ApiUrl(const ServiceConfig& config, const char* path) { return config.apiUrl + path; }

std::string FormEscape(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        const auto b = static_cast<unsigned char>(c);
        const bool special =
            c == '%' || c == '&' || c == '+' || c == '=' || c == '#' || c == ';' || b <= 0x20 || b == 0x7F;
        if (!special) {
            out += c;
            continue;
        }
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", b);
        out += escaped;
    }
    return out;
}

std::string LoginForm(const LoginUserState& u) {
    return "username=" + FormEscape(u.login_name) + "&password=" + u.password + "&unique_id=" + u.unique_id +
           "&visitor=" + std::to_string(u.visitor);
}

std::string VersionCheckForm(const LoginUserState& u) {
    return IdentityPrefix(u) + "&cur_ver=" + std::to_string(kClientVersion) + "&user_id=" + u.user_id;
}

std::string UserForm(const LoginUserState& u) { return IdentityPrefix(u) + "&user_id=" + u.user_id; }

std::string SyncReceiveForm(const LoginUserState& u, int lastSync) {
    return IdentityPrefix(u) + "&last_sync=" + std::to_string(lastSync) + "&user_id=" + u.user_id;
}

std::string SyncSendForm(const LoginUserState& u, std::string_view opers) {
    return UserForm(u) + "&opers=" + std::string(opers);
}

std::string CardUploadPrefix(const LoginUserState& u) { return UserForm(u) + "&bc_data="; }

std::string NewsForm(const LoginUserState& u, int lastNewsTime) {
    return IdentityPrefix(u) + "&last_news_time=" + std::to_string(lastNewsTime) + "&user_id=" + u.user_id;
}

std::string WebPageAddress(const ServiceConfig& config, WebPage page, const std::string& userId) {
    const std::string& site = config.webUrl;
    switch (page) {
        case WebPage::Home: return site + "/";
        case WebPage::Register: return site + "/Index/Register/index";
        case WebPage::Password: return site + "/Index/Password/index";
        case WebPage::Safe: return site + "/Home/Safe/index/clientid/" + userId;
        case WebPage::Charge: return site + "/Home/Property/charge/clientid/" + userId;
        case WebPage::About: return site + "/Index/About/index/id/10/clientid/" + userId;
    }
    return site;
}

}  // namespace kivtal
