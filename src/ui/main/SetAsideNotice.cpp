#include "ui/main/SetAsideNotice.h"

#include <QVariant>

#include "store/ServerChanges.h"
#include "ui/main/HomePageControls.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {

namespace {

// The notice remembers the change it names, so that its buttons act on what was read.
constexpr const char* kShownId = "setAsideId";

QString NoticeText(const SetAsideChange& first, std::size_t count) {
    const QString name = first.name.empty() ? QStringLiteral("一条同步数据")
                                            : QStringLiteral("“%1”").arg(QString::fromStdString(first.name));
    QString text = QStringLiteral("%1未能保存到本机，已暂时搁置（原因：%2）。每次同步都会再试。")
                       .arg(name, QString::fromStdString(first.reason));
    if (count > 1) text.prepend(QStringLiteral("共 %1 条同步数据未能保存。").arg(count));
    return text;
}

}  // namespace

void ShowSetAside(WindowImplBase& window, LocalStore& store) {
    QWidget* notice = window.FindControl(home_page::kSetAsideNotice);
    std::vector<SetAsideChange> aside;
    // An unreadable list changes nothing: the next sync reports the database.
    if (notice == nullptr || ListSetAsideChanges(store, aside) != 0) return;
    notice->setProperty(kShownId, aside.empty() ? 0 : aside.front().id);
    if (!aside.empty())
        SetControlText(window.FindControl(home_page::kSetAsideText), NoticeText(aside.front(), aside.size()));
    notice->setVisible(!aside.empty());
}

bool OnSetAsideAction(WindowImplBase& window, LocalStore& store, bool retry) {
    QWidget* notice = window.FindControl(home_page::kSetAsideNotice);
    const int id = notice ? notice->property(kShownId).toInt() : 0;
    if (id == 0) return false;
    std::string reason;
    const int result = retry ? RetrySetAsideChange(store, id, reason) : DiscardSetAsideChange(store, id);
    if (retry && result == kStillFails)
        ShowTalMsgBox(QString(), nullptr, QStringLiteral("仍未能保存：%1").arg(QString::fromStdString(reason)));
    else if (result != 0 && result != kSetAsideNotFound)
        ShowTalMsgBox(QString(), nullptr, QStringLiteral("本机数据库读写失败，请稍后再试。"));
    ShowSetAside(window, store);
    return retry && result == 0;
}

}  // namespace kivtal
