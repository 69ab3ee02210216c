// Renders every window of the skin into PNG files for review: kivtal-screens OUTDIR.
// Each scene opens real windows, lets them initialise, and paints the top-level
// windows it names onto one picture at their screen positions.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "model/RecordValues.h"
#include "model/SyncKinds.h"
#include "store/SyncBases.h"

#include "ui/tools/CaptureScenes.h"
#include "ui/main/HomePage.h"
#include "ui/tools/EditorScenes.h"
#include "ui/tools/DemoBookScenes.h"
#include "ui/tools/DuplicateScenes.h"
#include "ui/tools/HomeScenes.h"
#include "ui/tools/ListScenes.h"
#include "ui/tools/LoginScenes.h"
#include "ui/dialogs/ContactTransfer.h"
#include "ui/toolkit/MaskDlg.h"
#include "ui/toolkit/NoticeBox.h"
#include "ui/StandardControls.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"

namespace {

using namespace kivtal;

using Scene = std::function<std::vector<QWidget*>()>;

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

QImage Compose(const std::vector<QWidget*>& windows) {
    QRect area;
    for (QWidget* w : windows) area |= w->frameGeometry();
    QImage image(area.size() * windows.front()->devicePixelRatioF(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(windows.front()->devicePixelRatioF());
    image.fill(Qt::white);
    QPainter painter(&image);
    for (QWidget* w : windows) {
        painter.setOpacity(w->windowOpacity());
        painter.drawPixmap(w->geometry().topLeft() - area.topLeft(), w->grab());
    }
    return image;
}

// A stand-in for the main window, for the windows that are owned by it.
QWidget* MakeOwner() {
    auto* owner = new QWidget;
    owner->setWindowTitle(QStringLiteral("Kivtal v1.0"));
    auto* layout = new QVBoxLayout(owner);
    layout->addWidget(new QLabel(QStringLiteral("联系人列表")));
    owner->setObjectName(QStringLiteral("stand_in_owner"));
    // Selector-bound, so the owner's look does not leak into the windows it owns.
    owner->setStyleSheet(QStringLiteral("#stand_in_owner { background:#eef3f9; }"));
    owner->resize(640, 420);
    owner->move(40, 40);
    owner->show();
    return owner;
}

template <class Box>
std::vector<QWidget*> ShowBox(Box* box, QWidget* owner, const QString& caption) {
    box->Create(owner, caption);
    box->CenterWindow();
    box->ShowWindow();
    Settle();
    return {box};
}

std::vector<QWidget*> TalBox(QString title, QString text, int buttons, int style) {
    return ShowBox(new CTalMsgBox(std::move(title), std::move(text), buttons, style), nullptr,
                   QStringLiteral("温馨提示"));
}

std::vector<QWidget*> Notice(bool animation) {
    CLoginMsgBoxWnd* box = CreateNoticeBox(nullptr, animation ? kNoticeCaption : QStringLiteral("温馨提示"));
    box->SetTipText(QStringLiteral("当前网络无法连接，请检查网络后再试！"));
    if (animation) box->ShowAnimationView();
    else box->ShowMessageView();
    box->ShowWindow();
    Settle();
    return {box};
}

std::vector<QWidget*> MaskBusy() {
    QWidget* owner = MakeOwner();
    CMaskDlg* mask = CreateMask(owner);
    bool busy = false;
    EnterSyncBusy(mask, busy);
    Settle();
    return {owner, mask, mask->NoticeBox()};
}

std::vector<QWidget*> ImportProgress() {
    QWidget* owner = MakeOwner();
    QProgressDialog* dialog = ContactTransfer::MakeProgressDialog(owner);
    dialog->setValue(420);
    dialog->show();
    Settle();
    return {owner, dialog};
}

// A summary with every kind of line the box can hold.
std::vector<QWidget*> ImportSummary() {
    vcard::ImportReport report;
    report.added = 1206;
    report.merged = 38;
    report.skipped = 1;
    report.failed = 2;
    report.separatorsReplaced = 1;
    report.notes = {{"/home/me/手机通讯录.vcf", 2210, "the card has no name, company or e-mail"},
                    {"/home/me/手机通讯录.vcf", 4877, "invalid quoted-printable in N"},
                    {"/home/me/outlook.vcf", 12, "unknown charset X-MAC-CHINESE in FN"}};
    const QString text =
        ContactTransfer::SummaryText(report, {QStringLiteral("无法读取“旧手机.vcf”，其中的联系人均未导入。")});
    return TalBox(QStringLiteral("导入联系人"), text, 0, 0);
}

// Clashes as a sync run keeps them: another device's values of some fields of a record.
void StoreClashes(LocalStore& store, int kind, int rowId,
                  const std::vector<std::pair<const char*, const char*>>& others) {
    SqliteDb db;
    if (db.open(store.userDbPath()) != 0) return;
    SyncClashList clashes;
    for (const auto& [field, other] : others)
        clashes.push_back({0, kind, rowId, 0, FieldIndexOfKind(kind, field), other, 0});
    kivtal::syncbase::WriteClashes(db, clashes);
}

std::vector<QWidget*> ContactClashes() {
    StoreClashes(screens::EditorStore(), OPER_CONTACT, screens::SecondContactId(),
                 {{"company", "上海远景物流有限公司"}, {"fax", "021-55550000"}});
    return screens::ShowContactEditor(screens::ContactEditorScene::Clash, Settle);
}

std::vector<QWidget*> MatterClash() {
    LocalStore& store = screens::DemoStore();
    StoreClashes(store, OPER_MATTER, screens::DemoRichMatter(), {{"description", "与客户确认合同细节并改期到周五"}});
    return screens::ShowEditor(store, screens::DemoRichMatter(), screens::EditorScene::Clash, Settle);
}

std::vector<QWidget*> Editor(screens::EditorScene scene) {
    return screens::ShowEditor(screens::DemoStore(), screens::DemoRichMatter(), scene, Settle);
}

std::vector<QWidget*> ContactScene(screens::ContactScene scene) {
    return screens::ShowContactScene(screens::OpenHome(Settle), scene, Settle);
}

// The pane of an address book without contacts.
std::vector<QWidget*> EmptyContacts() {
    static QTemporaryDir dir;
    static LocalStore store(StorePaths{dir.path().toStdString() + "/user/", "/nonexistent/doz2a_v3.db"});
    store.EnsureUserDb("demo");
    auto* home = new CHomePage(store);
    home->Create(nullptr, kHomeTitle);
    home->move(40, 40);
    home->ShowWindow(true);
    Settle();
    return {home};
}

const std::vector<std::pair<const char*, Scene>>& Scenes() {
    static const std::vector<std::pair<const char*, Scene>> scenes = {
        {"tal_msgbox_ok",
         [] { return TalBox(QStringLiteral("温馨提示"), QStringLiteral("用户账号和密码不能为空"), 0, 0); }},
        {"tal_msgbox_question",
         [] {
             return TalBox(QStringLiteral("确定删除分组吗？"),
                           QStringLiteral("分组删除后，组里的联系人请到“全部”组中查找。"), 1, 1);
         }},
        {"tal_msgbox_sync_not_stored",
         [] { return TalBox(QStringLiteral("温馨提示"), QString::fromUtf8(kSyncNotStoredText), 0, 0); }},
        {"tal_msgbox_sync_refused",
         [] { return TalBox(QStringLiteral("温馨提示"), QString::fromUtf8(kSyncRefusedText), 0, 0); }},
        {"kiv_msgbox",
         [] {
             return ShowBox(new CMessageBox(QStringLiteral("糟糕！扫描仪不见了请检查数据线是否脱落")), nullptr,
                            QStringLiteral("连接失败"));
         }},
        {"notice_animation", [] { return Notice(true); }},
        {"notice_message", [] { return Notice(false); }},
        {"mask_busy", [] { return MaskBusy(); }},
        {"import_progress", [] { return ImportProgress(); }},
        {"import_summary", [] { return ImportSummary(); }},
        {"login_fresh", [] { return screens::ShowLogin(screens::LoginScene::Fresh, Settle); }},
        {"login_remembered", [] { return screens::ShowLogin(screens::LoginScene::Remembered, Settle); }},
        {"login_typing", [] { return screens::ShowLogin(screens::LoginScene::Typing, Settle); }},
        {"login_tip", [] { return screens::ShowLogin(screens::LoginScene::Tip, Settle); }},
        {"demo_book_contacts", [] { return screens::ShowDemoBook(false, Settle); }},
        {"demo_book_matters", [] { return screens::ShowDemoBook(true, Settle); }},
        {"home_contacts", [] { return screens::ShowHome(screens::HomeScene::Contacts, Settle); }},
        {"home_matters", [] { return screens::ShowHome(screens::HomeScene::Matters, Settle); }},
        {"home_matters_other_day", [] { return screens::ShowHome(screens::HomeScene::MattersOtherDay, Settle); }},
        {"home_matters_group", [] { return screens::ShowHome(screens::HomeScene::MattersGroup, Settle); }},
        {"matter_details", [] { return Editor(screens::EditorScene::Details); }},
        {"matter_new", [] { return Editor(screens::EditorScene::NewMatter); }},
        {"matter_edit_reminder", [] { return Editor(screens::EditorScene::EditWithReminder); }},
        {"matter_remark", [] { return Editor(screens::EditorScene::Remark); }},
        {"matter_reminder_page", [] { return Editor(screens::EditorScene::Reminder); }},
        {"matter_date_popup", [] { return Editor(screens::EditorScene::DatePopup); }},
        {"home_busy", [] { return screens::ShowHome(screens::HomeScene::Busy, Settle); }},
        {"home_tray_menu", [] { return screens::ShowHome(screens::HomeScene::TrayMenu, Settle); }},
        {"capture_no_scanner", [] { return screens::ShowCapture(screens::CaptureScene::NoScanner, Settle); }},
        {"capture_live", [] { return screens::ShowCapture(screens::CaptureScene::Live, Settle); }},
        {"capture_preview", [] { return screens::ShowCapture(screens::CaptureScene::Preview, Settle); }},
        {"capture_uploads", [] { return screens::ShowCapture(screens::CaptureScene::Uploads, Settle); }},
        {"contacts_group_edit", [] { return ContactScene(screens::ContactScene::GroupEdit); }},
        {"contacts_letter_filter", [] { return ContactScene(screens::ContactScene::LetterFilter); }},
        {"contacts_all_columns", [] { return ContactScene(screens::ContactScene::AllColumns); }},
        {"contacts_menu", [] { return ContactScene(screens::ContactScene::ContactMenu); }},
        {"contacts_sort_menu", [] { return ContactScene(screens::ContactScene::SortMenu); }},
        {"contacts_setting_menu", [] { return ContactScene(screens::ContactScene::SettingMenu); }},
        {"contacts_empty", [] { return EmptyContacts(); }},
        {"settings_window",
         [] {
             return screens::ShowSmallWindow(new CUserSettingWnd(screens::DemoStore(), 0, {}),
                                             QStringLiteral("软件设置"), Settle);
         }},
        {"change_group",
         [] {
             return screens::ShowSmallWindow(new CChangeGroupWnd(screens::DemoStore(), 1), QStringLiteral("移动分组"),
                                             Settle);
         }},
        {"duplicates", [] { return screens::ShowDuplicates(Settle); }},
        {"news_list", [] { return screens::ShowNews(screens::DemoStore(), -1, Settle); }},
        {"news_text", [] { return screens::ShowNews(screens::DemoStore(), 0, Settle); }},
        {"news_picture", [] { return screens::ShowNews(screens::DemoStore(), 1, Settle); }},
        {"list_contacts", [] { return screens::ShowContactList(Settle); }},
        {"contact_new", [] { return screens::ShowContactEditor(screens::ContactEditorScene::New, Settle); }},
        {"contact_edit_base", [] { return screens::ShowContactEditor(screens::ContactEditorScene::Base, Settle); }},
        {"contact_edit_business",
         [] { return screens::ShowContactEditor(screens::ContactEditorScene::Business, Settle); }},
        {"contact_edit_life", [] { return screens::ShowContactEditor(screens::ContactEditorScene::Life, Settle); }},
        {"contact_edit_relations",
         [] { return screens::ShowContactEditor(screens::ContactEditorScene::Relations, Settle); }},
        {"contact_edit_clash", ContactClashes},
        {"contact_scanner", [] { return screens::ShowContactEditor(screens::ContactEditorScene::Scanner, Settle); }},
        {"contact_rule_message",
         [] { return screens::ShowContactEditor(screens::ContactEditorScene::RuleMessage, Settle); }},
        {"profile_view", [] { return screens::ShowProfileEditor(screens::ProfileScene::View, Settle); }},
        {"profile_form", [] { return screens::ShowProfileEditor(screens::ProfileScene::Form, Settle); }},
        {"profile_certified", [] { return screens::ShowProfileEditor(screens::ProfileScene::Certified, Settle); }},
        // Last: the clash it stores would show in the matter scenes above.
        {"matter_clash", MatterClash},
    };
    return scenes;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kivtal-screens OUTDIR [SCENE...]\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    kivtal::PrepareWindows();
    int failures = 0;
    // Named scenes only, when some are named: one window's picture without all the rest.
    QStringList only;
    for (int i = 2; i < argc; ++i) only << QString::fromLocal8Bit(argv[i]);
    for (const auto& [name, scene] : Scenes()) {
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(name))) continue;
        // A popup may have closed itself (and been deleted) while the scene settled.
        std::vector<QWidget*> windows = scene();
        const QWidgetList live = QApplication::topLevelWidgets();
        std::erase_if(windows, [&live](QWidget* w) { return !live.contains(w); });
        if (windows.empty()) continue;  // a scene whose data is not at hand
        const QString path = QStringLiteral("%1/%2.png").arg(outDir, QString::fromLatin1(name));
        if (!Compose(windows).save(path)) ++failures;
        for (QWidget* w : windows) w->hide();
        std::printf("%s\n", qPrintable(path));
    }
    return failures == 0 ? 0 : 1;
}
