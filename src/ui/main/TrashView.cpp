#include "ui/main/TrashView.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "model/Clock.h"
#include "ui/toolkit/TalMsgBox.h"

namespace kivtal {

const TrashKind kContactTrash{QStringLiteral("联系人"), &TrashStore::DeletedContacts, &TrashStore::RestoreContacts};
const TrashKind kMatterTrash{QStringLiteral("事项"), &TrashStore::DeletedMatters, &TrashStore::RestoreMatters};

namespace {

constexpr int kRowHeight = 32;
constexpr int kLinkWidth = 48;
const QString kRestoreText = QStringLiteral("恢复");

QString DeletedText(int seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// The row's text as shown and read: title, detail, when it was deleted.
QString RowText(const TrashedRecord& r) {
    QString text = QString::fromStdString(r.title);
    if (!r.detail.empty()) text += QStringLiteral("    ") + QString::fromStdString(r.detail);
    return text + QStringLiteral("    删除于 ") + DeletedText(r.deleted_at);
}

// The 恢复 link at the end of each row.
class TrashDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem narrowed = option;
        narrowed.rect.setRight(option.rect.right() - kLinkWidth);
        QStyledItemDelegate::paint(painter, narrowed, index);
        painter->save();
        painter->setPen(QColor(0x2a, 0x7a, 0xd8));
        painter->drawText(LinkRect(option.rect), Qt::AlignCenter, kRestoreText);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width() + kLinkWidth, kRowHeight};
    }
    static QRect LinkRect(const QRect& row) { return {row.right() - kLinkWidth, row.top(), kLinkWidth, row.height()}; }
};

}  // namespace

class TrashModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void Set(TrashedRecordList records) {
        beginResetModel();
        records_ = std::move(records);
        endResetModel();
    }
    const TrashedRecordList& Records() const { return records_; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(records_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= static_cast<int>(records_.size())) return {};
        const TrashedRecord& r = records_[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole) return RowText(r);
        if (role == Qt::AccessibleTextRole) return RowText(r);
        if (role == Qt::UserRole) return r.id;
        return {};
    }

private:
    TrashedRecordList records_;
};

TrashView::TrashView(LocalStore& store, const TrashKind& kind, QWidget* parent)
    : QWidget(parent),
      store_(store),
      kind_(kind),
      model_(new TrashModel(this)),
      list_(new QListView(this)),
      restore_(new QPushButton(QStringLiteral("恢复所选"), this)),
      empty_(new QLabel(QStringLiteral("回收站中没有%1").arg(kind.noun), this)) {
    setObjectName(trash_view::kView);
    auto* heading =
        new QLabel(QStringLiteral("回收站：最近%1天删除的%2").arg(TrashStore::kKeptDays).arg(kind.noun), this);
    heading->setObjectName(trash_view::kHeading);
    list_->setObjectName(trash_view::kList);
    list_->setAccessibleName(QStringLiteral("已删除的%1").arg(kind.noun));
    list_->setModel(model_);
    list_->setItemDelegate(new TrashDelegate(list_));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setUniformItemSizes(true);
    list_->setFrameShape(QFrame::NoFrame);
    list_->viewport()->installEventFilter(this);
    restore_->setObjectName(trash_view::kRestore);
    restore_->setAccessibleName(QStringLiteral("恢复所选%1").arg(kind.noun));
    empty_->setObjectName(trash_view::kEmpty);
    empty_->setAlignment(Qt::AlignCenter);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(14, 8, 14, 8);
    bar->addWidget(heading, 1);
    bar->addWidget(restore_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(list_, 1);
    layout->addWidget(empty_, 1);
    connect(restore_, &QPushButton::clicked, this, [this] { Restore(ChosenIds()); });
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ShowChoice(); });
}

void TrashView::Reload() {
    TrashedRecordList records;
    TrashStore trash(store_);
    const bool read = (trash.*kind_.read)(TrashStore::WindowStart(NowSeconds()), records) == 0;
    model_->Set(std::move(records));
    const bool empty = model_->Records().empty();
    empty_->setText(read ? QStringLiteral("回收站中没有%1").arg(kind_.noun)
                         : QStringLiteral("回收站读取失败：本机数据库无法读取。"));
    list_->setVisible(!empty);
    empty_->setVisible(empty);
    ShowChoice();
}

bool TrashView::Restore(const std::vector<int>& ids) {
    if (ids.empty()) return false;
    TrashStore trash(store_);
    if ((trash.*kind_.restore)(ids) != 0) {
        ShowTalMsgBox(QString(), window(), QStringLiteral("恢复失败，请稍后再试。"));
        Reload();
        return false;
    }
    Reload();
    if (onRestored_) onRestored_();
    return true;
}

const TrashedRecordList& TrashView::Records() const { return model_->Records(); }

QRect TrashView::RestoreLinkRect(int row) const {
    return TrashDelegate::LinkRect(list_->visualRect(model_->index(row, 0)));
}

std::vector<int> TrashView::ChosenIds() const {
    std::vector<int> ids;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        ids.push_back(index.data(Qt::UserRole).toInt());
    return ids;
}

void TrashView::ShowChoice() {
    const std::size_t chosen = ChosenIds().size();
    restore_->setEnabled(chosen > 0);
    restore_->setText(chosen > 1 ? QStringLiteral("恢复所选(%1)").arg(chosen) : QStringLiteral("恢复所选"));
}

bool TrashView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex index = list_->indexAt(at);
        if (index.isValid() && RestoreLinkRect(index.row()).contains(at)) {
            Restore({index.data(Qt::UserRole).toInt()});
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kivtal
