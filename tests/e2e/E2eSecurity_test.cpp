// What one account's key may do to another account's data, requests without a key,
// and hostile text in the form fields, end to end.
#include <gtest/gtest.h>
#include <json/json.h>

#include "e2e/CoreDevice.h"
#include "e2e/E2eFixture.h"
#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "net/ChangeListCodec.h"
#include "net/ServiceForms.h"
#include "store/ContactStore.h"

namespace kivtal::e2e {
namespace {

class Security : public TwoDeviceTest {
protected:
    // The service's "error" for a raw form POST.
    std::string post(const char* path, const std::string& form) {
        NetUtil net(std::vector<std::string>{"127.0.0.1"});
        std::string reply;
        EXPECT_EQ(net.httpRequest("POST", service_.url() + path, form, reply), NetUtil::kOk) << path;
        Json::Value v;
        std::istringstream in(reply);
        std::string errors;
        EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &v, &errors)) << reply;
        return v["error"].asString();
    }

    static std::string oneContactChange(const std::string& name) {
        SyncRecord e;
        e.oper_code = OPER_CONTACT;
        e.oper_ways = WAY_ADD;
        e.s_row_id = 1;
        e.main_tab = 1;
        BusinessCard card;
        card.bc_id = 1;
        card.bc_name = name;
        e.s_values = FormatValues(card);
        return EncodeChangeList({e});
    }
};

TEST_F(Security, KeyOfOneAccountCannotReadOrWriteAnotherAndNoKeyIsRefused) {
    A().add({"contacts", "add", "--name", "机密"});
    A().sync();
    ASSERT_EQ(service_.op({"--add-account", "intruder", "pw-x"}), 0);
    CoreDevice intruder("device-X", service_.url());
    ASSERT_EQ(intruder.login("intruder", "pw-x"), 0);
    const LoginUserState own = LoginUser::Instance().snapshot();
    LoginUserState other = own;
    other.user_id = "1";  // the first account: zhang's
    ASSERT_NE(own.user_id, other.user_id);

    EXPECT_EQ(post(kSyncReceivePath, SyncReceiveForm(other, 0)), "1002");
    EXPECT_EQ(post(kSyncSendPath, SyncSendForm(other, oneContactChange("冒充"))), "1002");
    LoginUserState keyless = other;
    keyless.key.clear();
    EXPECT_EQ(post(kSyncReceivePath, SyncReceiveForm(keyless, 0)), "1002");
    EXPECT_EQ(post(kSyncSendPath, SyncSendForm(keyless, oneContactChange("冒充"))), "1002");
    // The intruder's own account works and holds none of zhang's records.
    EXPECT_EQ(post(kSyncReceivePath, SyncReceiveForm(own, 0)), "0");

    B().sync();
    EXPECT_EQ(snapshot(B()).contacts, std::vector<std::string>{"机密|||||group:|banks:"});
}

TEST_F(Security, HostileAndOverlongTextsTravelAsText) {
    const std::string sql = "x'); DROP TABLE tb_bc; --";
    const std::string form = "a&key=1&user_id=2' OR 1=1 --";
    const std::string longText(100000, 'L');
    ASSERT_GT(A().add({"contacts", "add", "--name", "赵钱", "--company", sql, "--email", "a@b.cn", "--comment",
                       longText, "--web", form}),
              0);
    const int group = A().add({"groups", "add", "'; DELETE FROM records; --"});
    ASSERT_GT(group, 0);
    converge();

    const Snapshot b = snapshot(B());
    EXPECT_EQ(b, snapshot(A()));
    ASSERT_EQ(b.contacts.size(), 1u);
    EXPECT_EQ(b.groups, std::vector<std::string>{"'; DELETE FROM records; --"});
    BusinessCardList cards;
    ASSERT_EQ(ContactStore(B().store(kAccount)).AllContacts(cards), 0);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].company_name, sql);
    EXPECT_EQ(cards[0].web_site, form);
    EXPECT_EQ(cards[0].bc_comment, longText);
}

}  // namespace
}  // namespace kivtal::e2e
