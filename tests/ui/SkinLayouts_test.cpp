// Every layout of the skin loads, and every control name the code looks up exists
// with the kind the code expects: a missing name is found here, not by a user.
#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <gtest/gtest.h>
#include <memory>

#include "ui/toolkit/GifLabel.h"
#include "ui/controls/ListKiv.h"
#include "ui/dialogs/AddMatterDlgControls.h"
#include "ui/dialogs/ChangeGroupWndControls.h"
#include "ui/dialogs/DuplicatesWndControls.h"
#include "ui/dialogs/LoginWndControls.h"
#include "ui/dialogs/SystemMsgWndControls.h"
#include "ui/dialogs/UserSettingWndControls.h"
#include "ui/dialogs/capture/CameraUIControls.h"
#include "ui/editors/AddConnectionDlgControls.h"
#include "ui/editors/UserInforEditWndControls.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/HomePageControls.h"
#include "ui/main/MattersPaneControls.h"
#include "ui/main/MenuWndControls.h"
#include "ui/toolkit/NoticeBoxControls.h"
#include "ui/toolkit/TalMsgBoxControls.h"
#include "ui/toolkit/SkinLoader.h"

namespace kivtal {
namespace {

// Every window's table of the controls its code uses.
const LayoutControls kWindows[] = {kTalMessageBoxControls,
                                   kKivMessageBoxControls,
                                   kLoginMsgBoxControls,
                                   kLoginWndControls,
                                   kHomePageControls,
                                   kContactsPaneControls,
                                   kMattersPaneControls,
                                   kMenuControls,
                                   kUserMenuControls,
                                   kSortMenuControls,
                                   kSettingMenuControls,
                                   kAddMatterControls,
                                   kChangeGroupControls,
                                   kUserSettingControls,
                                   kDuplicatesControls,
                                   kSystemMsgControls,
                                   kUserInfoEditControls,
                                   kAddConnectionControls,
                                   kAddConnectionBusinessControls,
                                   kAddConnectionLifeControls,
                                   kAddConnectionRelationsControls,
                                   kCameraUIControls};

std::unique_ptr<QWidget> Load(const QString& layout) {
    SkinLoader loader(nullptr);
    return std::unique_ptr<QWidget>(loader.LoadLayout(layout, nullptr));
}

TEST(SkinLayouts, EveryLayoutLoads) {
    const QStringList layouts = QDir(":/skin").entryList({"*.xml"}, QDir::Files);
    for (const char* required :
         {"TalMessageBox.xml", "KivMessageBox.xml", "LoginMsgBox.xml", "MaskWnd.xml", "LoginWnd.xml", "HomePage.xml",
          "AddMatter.xml", "menu.xml", "UserMenu.xml", "SettingMenu.xml", "sortcombo.xml", "changeGroup.xml",
          "UserSettingWnd.xml", "SystemMsgWnd.xml", "AddConnection.xml", "AddConnectionBusiness.xml",
          "AddConnectionLife.xml", "AddConnectionRelations.xml", "UserInfoEditWnd.xml"})
        EXPECT_TRUE(layouts.contains(required)) << required;
    for (const QString& layout : layouts) {
        SkinLoader loader(nullptr);
        std::unique_ptr<QWidget> root(loader.LoadLayout(layout, nullptr));
        EXPECT_NE(root, nullptr) << layout.toStdString() << ": " << loader.errorString().toStdString();
    }
}

// A loader is built with the plugin paths held empty, to keep Designer's plugins out;
// every other kind of plugin (here the image formats) must be found as before.
TEST(SkinLayouts, BuildingALoaderLeavesThePluginPathsAsTheyWere) {
    const QStringList paths = QCoreApplication::libraryPaths();
    { SkinLoader loader(nullptr); }
    EXPECT_EQ(QCoreApplication::libraryPaths(), paths);
    EXPECT_TRUE(QImageReader::supportedImageFormats().contains("jpeg"));
}

TEST(SkinLayouts, EveryControlTheCodeUsesExistsWithItsKind) {
    for (const LayoutControls& window : kWindows) {
        const std::unique_ptr<QWidget> root = Load(window.layout);
        ASSERT_NE(root, nullptr) << window.layout;
        for (const LayoutControl& c : window.controls) {
            SCOPED_TRACE(std::string(window.layout) + " / " + c.name);
            const QList<QWidget*> found = root->findChildren<QWidget*>(c.name);
            ASSERT_EQ(found.size(), 1);
            EXPECT_TRUE(found[0]->inherits(c.kind)) << found[0]->metaObject()->className();
        }
    }
}

TEST(SkinLayouts, TheAnimatedLabelFindsItsFrames) {
    const std::unique_ptr<QWidget> root = Load(kLoginMsgBoxControls.layout);
    ASSERT_NE(root, nullptr);
    auto* gif = root->findChild<GifLabel*>(notice_box::kAnimation.name);
    ASSERT_NE(gif, nullptr);
    ASSERT_GT(gif->FrameCount(), 1);
    const int first = gif->CurrentFrame();
    gif->NextFrame();
    EXPECT_EQ(gif->CurrentFrame(), (first + 1) % gif->FrameCount());
}

}  // namespace
}  // namespace kivtal
