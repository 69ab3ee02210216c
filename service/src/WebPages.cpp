#include "WebPages.h"

#include "Crypto.h"
#include "FormBody.h"
#include "TypedText.h"

namespace kivtal::service {

namespace {

constexpr std::size_t kMaxLoginName = 64;
constexpr std::size_t kMaxPassword = 128;
constexpr std::size_t kMinPassword = 6;
constexpr std::int64_t kNewAccountCoins = 10;

std::string Page(std::string_view title, std::string_view body) {
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + HtmlEscape(title) +
           "</title></head>\n<body>\n<h1>" + HtmlEscape(title) + "</h1>\n" + std::string(body) +
           "\n<p><a href=\"/\">首页</a> · <a href=\"/Index/Register/index\">注册</a></p>\n</body></html>\n";
}

// Why a registration is refused, or empty when it may go ahead.
std::string RegistrationProblem(const std::string& name, const std::string& password, const std::string& repeat) {
    if (name.empty() || password.empty()) return "请填写账号和密码。";
    if (name.size() > kMaxLoginName) return "账号太长。";
    if (password.size() > kMaxPassword) return "密码太长。";
    if (!PrintableLength(name)) return "账号含有不可显示的字符。";
    const auto length = PrintableLength(password);
    if (!length) return "密码含有不可显示的字符。";
    if (*length < kMinPassword) return "密码至少 6 个字符。";
    if (password != repeat) return "两次输入的密码不一致。";
    return {};
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string HomePage() { return Page("商务人脉服务", "<p>这是客户端同步服务的参考实现。</p>"); }

std::string RegisterPage(std::string_view message) {
    const std::string note = message.empty() ? "" : "<p class=\"message\">" + HtmlEscape(message) + "</p>\n";
    return Page("注册", note +
                            "<form method=\"post\" action=\"/Index/Register/index\">\n"
                            "<p>账号 <input name=\"username\" maxlength=\"64\"></p>\n"
                            "<p>密码 <input name=\"password\" type=\"password\"></p>\n"
                            "<p>确认密码 <input name=\"password2\" type=\"password\"></p>\n"
                            "<p><button type=\"submit\">注册</button></p>\n</form>");
}

std::string Register(Service& service, std::string_view formBody) {
    const FormFields f = ParseBrowserForm(formBody);
    const std::string name(Field(f, "username"));
    const std::string password(Field(f, "password"));
    if (const std::string problem = RegistrationProblem(name, password, std::string(Field(f, "password2")));
        !problem.empty()) {
        return RegisterPage(problem);
    }
    if (!service.createAccount({name, ClientPasswordDigest(password), kNewAccountCoins, false, ""})) {
        return RegisterPage("该账号已被注册。");
    }
    return Page("注册成功", "<p>账号 " + HtmlEscape(name) + " 已创建，请在客户端登录。</p>");
}

std::string PasswordPage() { return Page("找回密码", "<p>请联系服务运营者重设密码。</p>"); }

std::string AccountPage(std::string_view title, std::string_view clientId) {
    return Page(title, "<p>用户编号 " + HtmlEscape(clientId) + "</p>");
}

std::string AboutPage() { return Page("关于", "<p>商务人脉客户端的参考服务。</p>"); }

}  // namespace kivtal::service
