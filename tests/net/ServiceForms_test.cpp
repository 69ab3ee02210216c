#include <gtest/gtest.h>

#include "net/ServiceForms.h"

namespace kivtal {
namespace {

LoginUserState SignedIn() {
    LoginUserState u;
    u.login_name = "zhang";
    u.password = "0123456789abcdef0123456789abcdef";
    u.user_id = "10086";
    u.key = "k3y";
    u.unique_id = "BFEBFBFF000906EAWD-1";
    return u;
}

TEST(ServiceForms, BodiesAreByteExact) {
    const LoginUserState u = SignedIn();
    const std::string id = "key=k3y&visitor=1&unique_id=BFEBFBFF000906EAWD-1";
    EXPECT_EQ(LoginForm(u),
              "username=zhang&password=0123456789abcdef0123456789abcdef&unique_id=BFEBFBFF000906EAWD-1&visitor=1");
    EXPECT_EQ(VersionCheckForm(u), id + "&cur_ver=3&user_id=10086");
    EXPECT_EQ(UserForm(u), id + "&user_id=10086");
    EXPECT_EQ(SyncReceiveForm(u, 1700000000), id + "&last_sync=1700000000&user_id=10086");
    EXPECT_EQ(SyncSendForm(u, "null\n"), id + "&user_id=10086&opers=null\n");
    EXPECT_EQ(CardUploadPrefix(u), id + "&user_id=10086&bc_data=");
    EXPECT_EQ(NewsForm(u, 0), id + "&last_news_time=0&user_id=10086");
}

TEST(ServiceForms, TypedLoginNameCannotBreakTheForm) {
    LoginUserState u = SignedIn();
    u.login_name = "a+b&c=d 张%";
    EXPECT_EQ(LoginForm(u).rfind("username=a%2Bb%26c%3Dd%20张%25&password=0123", 0), 0u) << LoginForm(u);
}

TEST(ServiceForms, WebPages) {
    ServiceConfig c;
    c.webUrl = "http://127.0.0.1:9";
    EXPECT_EQ(WebPageAddress(c, WebPage::Home, "7"), "http://127.0.0.1:9/");
    EXPECT_EQ(WebPageAddress(c, WebPage::Register, "7"), "http://127.0.0.1:9/Index/Register/index");
    EXPECT_EQ(WebPageAddress(c, WebPage::Password, "7"), "http://127.0.0.1:9/Index/Password/index");
    EXPECT_EQ(WebPageAddress(c, WebPage::Safe, "7"), "http://127.0.0.1:9/Home/Safe/index/clientid/7");
    EXPECT_EQ(WebPageAddress(c, WebPage::Charge, "7"), "http://127.0.0.1:9/Home/Property/charge/clientid/7");
    EXPECT_EQ(WebPageAddress(c, WebPage::About, "7"), "http://127.0.0.1:9/Index/About/index/id/10/clientid/7");
}

}  // namespace
}  // namespace kivtal
