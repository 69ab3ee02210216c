#include "ui/main/TwinsNotice.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "duplicates/DefaultMerge.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {
namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 40;
constexpr int kTopGap = 64;
const duplicates::FindOptions kExact{.exactOnly = true};

}  // namespace

TwinsNotice::TwinsNotice(QWidget* window, LocalStore& store)
    : QFrame(window),
      store_(store),
      text_(new QLabel(this)),
      merge_(new QPushButton(QStringLiteral("合并"), this)),
      dismiss_(new QPushButton(QStringLiteral("×"), this)) {
    setObjectName(twins_notice::kNotice);
    setAccessibleName(QStringLiteral("重复联系人提示"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    text_->setObjectName(twins_notice::kText);
    merge_->setObjectName(twins_notice::kMerge);
    merge_->setAccessibleName(QStringLiteral("合并完全相同的联系人"));
    dismiss_->setObjectName(twins_notice::kDismiss);
    dismiss_->setAccessibleName(QStringLiteral("关闭提示"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 4, 8, 4);
    layout->addWidget(text_, 1);
    layout->addWidget(merge_);
    layout->addWidget(dismiss_);
    connect(merge_, &QPushButton::clicked, this, [this] { MergeAll(); });
    connect(dismiss_, &QPushButton::clicked, this, &QWidget::hide);
    window->installEventFilter(this);
    hide();
}

void TwinsNotice::CheckAfterSync() {
    int newest = 0;
    if (MergeStore(store_).NewestContactId(newest) != 0 || newest <= newestSeen_) return;
    newestSeen_ = newest;
    BusinessCardList contacts;
    std::vector<duplicates::DuplicateGroup> groups;
    if (duplicates::FindInStore(store_, kExact, contacts, groups) != 0) return;
    int count = 0;
    bool fresh = false;
    for (const duplicates::DuplicateGroup& g : groups) {
        count += static_cast<int>(g.bcIds.size()) - 1;
        for (int id : g.bcIds) fresh = offered_.insert(id).second || fresh;
    }
    if (!fresh) return;
    text_->setText(QStringLiteral("同步带来了 %1 个与本机联系人完全相同的联系人。").arg(count));
    setAccessibleDescription(text_->text());
    Place();
    show();
    raise();
}

bool TwinsNotice::MergeAll() {
    MergeUndo undo;
    int merged = 0;
    if (duplicates::MergeAllFound(store_, kExact, undo, merged) != 0) {
        ShowTalMsgBox(QString(), parentWidget(), QStringLiteral("未能合并：本机数据库读写失败，请稍后再试。"));
        return false;
    }
    hide();
    if (afterMerge_) afterMerge_(undo, merged);
    return true;
}

QString TwinsNotice::Text() const { return text_->text(); }

bool TwinsNotice::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) Place();
    return QFrame::eventFilter(watched, event);
}

void TwinsNotice::Place() {
    const QWidget* window = parentWidget();
    const int width = std::min(kWidth, window->width());
    setGeometry((window->width() - width) / 2, kTopGap, width, kHeight);
}

}  // namespace kivtal
