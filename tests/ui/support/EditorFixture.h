#pragma once
// The editors over a scratch user database and the shipped reference database, with a
// fake worker and a log of every message box the editor shows (answered with OK).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPointer>
#include <string>
#include <utility>
#include <vector>

#include "net/LoginUser.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "store/SqliteDb.h"
#include "support/TempDir.h"
#include "support/UserDbFixture.h"
#include "ui/controls/FindEdit.h"
#include "ui/support/HomeFixture.h"
#include "ui/support/UiTestSupport.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal::test {

using Shown = std::pair<std::string, std::string>;  // title, text

// Records every styled message box that runs modally and answers it with OK.
class MessageLog {
public:
    MessageLog() {
        WindowImplBase::SetModalObserver([this](WindowImplBase& box) {
            if (box.GetWindowClassName() != u"KivTalMessageBox") return;
            shown.emplace_back(ControlText(box.FindControl("title")).toStdString(),
                               ControlText(box.FindControl("contentre")).toStdString());
            box.Close(kMsgBoxOk);
        });
    }
    ~MessageLog() { WindowImplBase::SetModalObserver({}); }

    std::vector<Shown> shown;
};

// Typing into a text field and picking in a picker, as the user does.
inline void Type(WindowImplBase& w, const char* field, const QString& text) {
    auto* edit = w.FindControl<FindEdit>(field);
    ASSERT_NE(edit, nullptr) << field;
    edit->SetText(text);
}
inline QString FieldText(WindowImplBase& w, const char* field) {
    auto* edit = w.FindControl<FindEdit>(field);
    return edit ? edit->GetText() : QStringLiteral("<missing>");
}
// A pick by the user: the picker reports it as after a click in its list.
inline void Pick(WindowImplBase& w, const char* picker, int value) {
    auto* combo = w.FindControl<QComboBox>(picker);
    ASSERT_NE(combo, nullptr) << picker;
    const int index = combo->findData(value);
    ASSERT_GE(index, 0) << picker << " has no " << value;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    Pump();
}

class EditorFixture : public ::testing::Test {
protected:
    EditorFixture() : store(StorePaths{dir.path() + "user", test::RefDbForTests()}) {
        EXPECT_EQ(store.EnsureUserDb("tester"), 0);
        LoginUser::Instance().reset();
        LoginUser::Instance().update([](LoginUserState& s) {
            s.login_name = "tester";
            s.login_mode = LoginUserState::kModeOnline;
        });
    }
    ~EditorFixture() override {
        CloseAllWindows();
        LoginUser::Instance().reset();
    }

    void Exec(const std::string& sql) {
        SqliteDb db;
        ASSERT_EQ(db.open(store.userDbPath()), 0);
        ASSERT_EQ(db.execute(sql), 0) << sql << ": " << db.lastError();
    }

    int AddGroup(const char* name) {
        CardGroup g;
        g.group_name = name;
        EXPECT_EQ(ContactStore(store).AddGroup(g), StoreStatus::kOk);
        return g.group_id;
    }

    BusinessCard Stored(int id) {
        BusinessCard c;
        EXPECT_EQ(ContactStore(store).ContactById(id, c), 0);
        return c;
    }

    BusinessCardList AllStored() {
        BusinessCardList all;
        EXPECT_EQ(ContactStore(store).AllContacts(all), 0);
        return all;
    }

    TempDir dir;
    LocalStore store;
    FakeWorker worker;
};

}  // namespace kivtal::test
