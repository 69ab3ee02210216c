// Card uploads, the operator's content, the server time and the web pages.
#include <fstream>

#include <sstream>

#include "FormBody.h"
#include "Operator.h"
#include "ServiceHarness.h"

namespace kivtal::service::test {
namespace {

class ServiceContent : public ServiceHarness {
protected:
    void SetUp() override {
        options_.cardUploads = 3;
        ServiceHarness::SetUp();
        addAccount("alice", "secret");
        a_ = login("alice", "secret", "DEVICE-A");
    }
    std::string userForm() const { return identity(a_) + "&user_id=" + a_.userId; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(port_); }

    Device a_;
};

TEST_F(ServiceContent, CardUploadsAreStoredAsJpegFilesAndCounted) {
    // "\xFF\xD8\xFF\xE0" + "JFIF" in Base64, with the '+' and '/' that must not be decoded.
    const std::string jpeg = "/9j/4EpGSUb+";
    EXPECT_EQ(post("/Secretary/upload", userForm() + "&bc_data=" + jpeg)["upload_count"].asString(), "1");
    const Json::Value second = post("/Secretary/upload", userForm() + "&bc_data=" + jpeg);
    EXPECT_EQ(second["error"].asString(), "0");
    EXPECT_EQ(second["upload_count"].asString(), "2");
    const auto file = service().cardsDir() / a_.userId / "card-2.jpg";
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xD8\xFF\xE0", 4));
    EXPECT_EQ(bytes.size(), 9u);

    // Not Base64, or not a JPEG: refused and not counted.
    EXPECT_EQ(post("/Secretary/upload", userForm() + "&bc_data=%2F9j")["error"].asString(), "1004");
    EXPECT_EQ(post("/Secretary/upload", userForm() + "&bc_data=YWJjZA==")["error"].asString(), "1004");
    EXPECT_EQ(post("/Secretary/upload", userForm() + "&bc_data=" + jpeg)["upload_count"].asString(), "3");
}

// A picture over 2 MiB, or one more than the account may store, is refused with its
// own code and stores nothing.
TEST_F(ServiceContent, CardPicturesAreLimitedInSizeAndCountPerAccount) {
    const auto base64Jpeg = [](std::size_t bytes) {
        // "\xFF\xD8\xFF" then zero bytes: 3 bytes a group of four characters.
        return "/9j/" + std::string((bytes - 3) / 3 * 4, 'A');
    };
    const struct {
        std::size_t bytes;
        const char* error;
    } sizes[] = {{(2u << 20) + 3, "2009"}, {3u << 20, "2009"}, {(2u << 20) - 2, "0"}};
    for (const auto& s : sizes) {
        EXPECT_EQ(post("/Secretary/upload", userForm() + "&bc_data=" + base64Jpeg(s.bytes))["error"].asString(),
                  s.error)
            << s.bytes;
    }
    EXPECT_EQ(service().findAccount("alice")->uploadCount, 1);

    // The quota of this fixture is 3 pictures; another account has its own.
    for (const char* expected : {"0", "0", "2010", "2010"})
        EXPECT_EQ(post("/Secretary/upload", userForm() + "&bc_data=/9j/4EpGSUb+")["error"].asString(), expected);
    EXPECT_EQ(service().findAccount("alice")->uploadCount, 3);
    EXPECT_FALSE(std::filesystem::exists(service().cardsDir() / a_.userId / "card-4.jpg"));
    addAccount("bob", "hunter2");
    const Device bob = login("bob", "hunter2", "DEVICE-B");
    EXPECT_EQ(post("/Secretary/upload", identity(bob) + "&user_id=" + bob.userId + "&bc_data=/9j/4EpGSUb+")["error"]
                  .asString(),
              "0");
}

TEST_F(ServiceContent, PublishedContentComesWithAddressesOnThisHost) {
    service().addNews({0, "通知", "系统维护", 1000, 0});
    service().addNews({0, "图片", "news/p.jpg", 2000, 1});
    service().addAdvert({0, "ads/a.jpg", 2, "http://example.invalid/x", "广告"});
    service().setVersionOffer({5, "1.5", "修复", "update/setup.exe", true, "abc"});

    const Json::Value news = post("/Notice", identity(a_) + "&last_news_time=1000&user_id=" + a_.userId);
    ASSERT_EQ(news["news_list"].size(), 1u);
    EXPECT_EQ(news["news_list"][0]["news_content"].asString(), base() + "/files/news/p.jpg");
    EXPECT_EQ(news["news_list"][0]["create_time"].asString(), "2000");

    const Json::Value ads = post("/PcAd", userForm());
    ASSERT_EQ(ads["ads"].size(), 1u);
    EXPECT_EQ(ads["ads"][0]["ad_path"].asString(), base() + "/files/ads/a.jpg");
    EXPECT_EQ(ads["ads"][0]["ad_content"].asString(), "广告");

    const Json::Value offer = post("/Update/check", identity(a_) + "&cur_ver=3&user_id=" + a_.userId);
    EXPECT_EQ(offer["new_ver"].asString(), "5");
    EXPECT_EQ(offer["download_addr"].asString(), base() + "/files/update/setup.exe");
    EXPECT_EQ(offer["enforce_update"].asString(), "1");
    EXPECT_EQ(post("/Update/check", identity(a_) + "&cur_ver=5&user_id=" + a_.userId)["new_ver"].asString(), "0");

    // Whatever Host a request names, the addresses handed out are the service's own.
    const httplib::Headers forged = {{"Host", "attacker.invalid:80"}};
    const auto spoofed = client_->Post("/PcAd", forged, userForm(), "application/x-www-form-urlencoded");
    ASSERT_TRUE(spoofed);
    EXPECT_NE(spoofed->body.find(base() + "/files/ads/a.jpg"), std::string::npos) << spoofed->body;
    EXPECT_EQ(spoofed->body.find("attacker"), std::string::npos);

    const auto time = client_->Get("/Util/dateline");
    ASSERT_TRUE(time);
    EXPECT_NE(time->body.find("\"dateline\":\""), std::string::npos);
}

TEST_F(ServiceContent, ADataFilePublishesItsPicturesAndInstaller) {
    std::ofstream(dir_.file("pic.jpg")) << "picture";
    std::ofstream(dir_.file("setup.exe")) << "installer";
    std::ofstream(dir_.file("data.json")) << R"({
      "accounts": [{"name": "dave", "password": "pw", "coins": 2}],
      "news": [{"title": "t", "content": "pic.jpg", "type": 1}],
      "ads": [{"picture": "pic.jpg", "jump_url": "http://example.invalid", "content": "c", "sort": 1}],
      "version": {"number": 4, "name": "1.4", "description": "d", "installer": "setup.exe"}})";
    const char* argv[] = {"kivtal-service", "--load", nullptr};
    const std::string file = dir_.file("data.json");
    argv[2] = file.c_str();
    std::string error;
    const auto cl = ParseCommandLine(3, argv, error);
    ASSERT_TRUE(cl) << error;
    std::ostringstream out, err;
    ASSERT_EQ(RunOperatorCommand(service(), *cl, out, err), 0) << err.str();

    EXPECT_EQ(coins("dave"), 2);
    const std::string adPath = post("/PcAd", userForm())["ads"][0]["ad_path"].asString();
    EXPECT_EQ(adPath, base() + "/files/ads/pic.jpg");
    const auto picture = client_->Get("/files/ads/pic.jpg");
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->body, "picture");
    const Json::Value offer = post("/Update/check", identity(a_) + "&cur_ver=3&user_id=" + a_.userId);
    EXPECT_EQ(offer["file_md5"].asString(), Md5Hex("installer"));
    EXPECT_EQ(client_->Get("/files/update/setup.exe")->body, "installer");
}

TEST_F(ServiceContent, PublishedFilesAreServedButNothingOutsideThem) {
    std::filesystem::create_directories(service().filesDir() / "ads");
    std::ofstream(service().filesDir() / "ads" / "a.jpg") << "picture";
    const auto ok = client_->Get("/files/ads/a.jpg");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->body, "picture");
    for (const char* path : {"/files/../service.db", "/files/%2e%2e/service.db", "/cards/1/card-1.jpg"}) {
        const auto res = client_->Get(path);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 404) << path;
    }
}

TEST_F(ServiceContent, TheRegisterPageCreatesAnAccountTheClientCanUse) {
    const auto page = client_->Get("/Index/Register/index");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("<form"), std::string::npos);
    const auto made =
        client_->Post("/Index/Register/index", "username=%E6%96%B0+user&password=p%26w123&password2=p%26w123",
                      "application/x-www-form-urlencoded");
    ASSERT_TRUE(made);
    EXPECT_NE(made->body.find("新 user"), std::string::npos);
    // The client escapes '%', '&', '+' and spaces in the login name.
    EXPECT_EQ(loginReply("%E6%96%B0%20user", "p&w123", "D")["error"].asString(), "0");

    const auto taken = client_->Post("/Index/Register/index", "username=alice&password=secret1&password2=secret1",
                                     "application/x-www-form-urlencoded");
    EXPECT_NE(taken->body.find("已被注册"), std::string::npos);
    const auto script = client_->Post("/Index/Register/index", "username=%3Cscript%3E&password=a&password2=b",
                                      "application/x-www-form-urlencoded");
    EXPECT_EQ(script->body.find("<script>"), std::string::npos);

    // Names that would display as another name or carry hidden bytes, and passwords a
    // guess finds at once, make no account.
    const struct {
        const char* name;
        const char* password;
        const char* why;
    } refused[] = {
        {"a%00b", "secret1", "不可显示"},          {"a%01b", "secret1", "不可显示"},
        {"tab%09", "secret1", "不可显示"},         {"abc%E2%80%AEgpj.exe", "secret1", "不可显示"},
        {"x%C3%28", "secret1", "不可显示"},        {"mallory", "p", "至少"},
        {"mallory", "%E5%AF%86%E7%A0%81", "至少"}, {"mallory", "pass%00word", "不可显示"},
    };
    for (const auto& r : refused) {
        const std::string form =
            std::string("username=") + r.name + "&password=" + r.password + "&password2=" + r.password;
        const auto res = client_->Post("/Index/Register/index", form, "application/x-www-form-urlencoded");
        ASSERT_TRUE(res) << r.name;
        EXPECT_NE(res->body.find(r.why), std::string::npos) << r.name << " / " << r.password;
        EXPECT_FALSE(service().findAccount(PercentDecode(r.name, false))) << r.name;
    }

    for (const char* path : {"/", "/Index/Password/index", "/Home/Safe/index/clientid/1",
                             "/Home/Property/charge/clientid/1", "/Index/About/index/id/10/clientid/1"}) {
        const auto res = client_->Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_EQ(res->status, 200) << path;
    }
}

}  // namespace
}  // namespace kivtal::service::test
